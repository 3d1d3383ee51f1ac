#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString title() { return QApplication::applicationName(); }
} // namespace

void QtDialogs::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, title(), text);
}

void QtDialogs::ShowMessage(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, title(), text);
}

bool QtDialogs::Confirm(QWidget* parent, const QString& text)
{
    return QMessageBox::question(parent, title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> QtDialogs::InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                           const QString& value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

std::optional<QString> QtDialogs::OpenPicture(QWidget* parent)
{
    const QString file = QFileDialog::getOpenFileName(
        parent, QString(), QString(),
        QStringLiteral("Картинки (*.jpg *.jpeg *.png *.bmp *.gif);;Все файлы (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

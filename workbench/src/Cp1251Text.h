#pragma once
// The windows show cp1251 texts of the core as QString and hand edits back as cp1251.

#include "text/Cp1251.h"

#include <QString>

#include <string>
#include <string_view>

inline QString FromCp1251(std::string_view text)
{
    return QString::fromStdString(folio::cp1251::ToUtf8(text));
}

inline std::string ToCp1251(const QString& text)
{
    return folio::cp1251::FromUtf8(text.toStdString());
}

#include "io/Error.h"

#include <cerrno>
#include <cstring>

namespace folio {

std::string DescribeErrno(int code)
{
    switch (code) {
    case ENOENT: return "файл или папка не найдены";
    case EACCES:
    case EPERM: return "нет доступа";
    case ENOSPC: return "нет места на диске";
    case EROFS: return "файловая система только для чтения";
    case EISDIR: return "это папка, а не файл";
    case ENOTDIR: return "часть пути не является папкой";
    case ENAMETOOLONG: return "слишком длинное имя";
    case EEXIST: return "уже существует";
    case ENOTEMPTY: return "папка не пуста";
    case EIO: return "ошибка ввода-вывода";
    default: return std::strerror(code);
    }
}

} // namespace folio

#pragma once
// The one exception type of the core. Its text is UTF-8 and meant to be shown to the
// editor as it stands (a message box, a console line).

#include <stdexcept>
#include <string>

namespace folio {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A short Russian description of an errno code, for messages shown to the editor.
std::string DescribeErrno(int code);

} // namespace folio

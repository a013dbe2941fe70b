// Linux: the program's runs in these tests have no display, so there is no
// form window to close.
#include "tests/app/form_closer.h"

namespace app_test {

FormCloser::FormCloser() = default;
FormCloser::~FormCloser() = default;

}  // namespace app_test

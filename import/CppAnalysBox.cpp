// The analyser that shows its messages in the platform's modal box. Apart from the rest of the
// analyser so that programs without a screen, which give it their own `show`, link no video.
#include "core/Cp1251.h"
#include "import/CppAnalys.h"
#include "platform/MessageBox.h"

CCppAnalys::CCppAnalys()
    : CCppAnalys([](const CStr& text) { platform::MessageBox(text.View(), "Импорт"_cp); }) {}

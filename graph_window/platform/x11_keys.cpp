#include "platform/x11_keys.h"

void TranslateKeyPress(const XKeyEvent&, TKeyMessages& out) { out.Count = 0; }

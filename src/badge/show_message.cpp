#include "badge/show_message.h"

#include "host/natives/misc.h"
#include "host/natives/uilog.h"

void showMessage(const char* text) {
    const std::uint64_t gameText = varString(10, "LITERAL_STRING", text);
    uilogSetCachedObjective(gameText);
    uilogPrintCachedObjective();
    uilogClearCachedObjective();
}

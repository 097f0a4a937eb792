#include "badge/badge_menu_script.h"

#include "host/host_api.h"

void BadgeMenuScript() {
    for (;;) {
        scriptWait(0);
    }
}

#include "badge/badge_script.h"

#include "host/host_api.h"

void BadgeScript() {
    for (;;) {
        scriptWait(0);
    }
}

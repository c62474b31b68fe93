#include "app/name_entry_request.h"

#include <new>

#include "app/main_window.h"
#include "core/report.h"
#include "core/thread.h"
#include "frontend/name_dialog.h"
#include "media/primitives.h"

long ServeNameEntryRequest(std::string* name) {
    DDMesBoxPrepare(1);
    SuspendGameThreads();
    cNameDialog* dialog = new (std::nothrow) cNameDialog(name, &g_WindowGroup);
    if (!dialog) {
        OutOfMemoryClose();
    } else {
        dialog->RunModal(0);
        delete dialog;
    }
    DDMesBoxPrepare(0);
    ResumeGameThreads();
    g_bNameEntryDone = 1;
    return 0;
}

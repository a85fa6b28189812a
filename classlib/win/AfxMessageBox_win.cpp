// Message boxes of the class library, with the hook that tests use to answer them.
#include "classlib/win/AfxMessageBox.h"

#include "classlib/win/AfxGetAppName.h"

#include <mutex>
#include <utility>

namespace {

struct PrompterSlot {
    std::mutex mutex;
    AfxPrompter prompter;  // guarded by mutex; empty: show the real box
};

PrompterSlot& Slot() {
    static PrompterSlot slot;
    return slot;
}

}  // namespace

int AfxMessageBox(const char* text, UINT type) {
    AfxPrompter prompter;
    {
        PrompterSlot& slot = Slot();
        std::lock_guard<std::mutex> guard(slot.mutex);
        prompter = slot.prompter;
    }
    // The prompter runs outside the lock: it may itself replace the prompter.
    if (prompter) {
        return prompter(text, type, AfxGetAppName());
    }
    return MessageBoxA(GetActiveWindow(), text, AfxGetAppName(), type);
}

AfxPrompter AfxSetPrompter(AfxPrompter prompter) {
    PrompterSlot& slot = Slot();
    std::lock_guard<std::mutex> guard(slot.mutex);
    return std::exchange(slot.prompter, std::move(prompter));
}

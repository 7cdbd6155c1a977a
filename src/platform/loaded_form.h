#pragma once
// A window that is created on first use and stays loaded until it is
// unloaded. The window class W has a public Form_Unload(), its unload event.
//
// Unloading runs the window's unload, hides it and deletes it once the event
// that is running now is done, so a window may unload itself from one of its
// own handlers (its close box among them). The next use creates it afresh.
#include <memory>

namespace platform {

template <class W>
class LoadedForm {
public:
    LoadedForm() = default;
    LoadedForm(const LoadedForm&) = delete;
    LoadedForm& operator=(const LoadedForm&) = delete;
    // The program ends: a window still loaded goes at once.
    ~LoadedForm() {
        if (window_) window_->Form_Unload();
    }

    bool IsLoaded() const { return window_ != nullptr; }
    W* get() const { return window_.get(); }

    // The window, made by `make` (a std::unique_ptr<W>) when it is not loaded.
    template <class Make>
    W& Get(Make make) {
        if (!window_) window_ = make();
        return *window_;
    }

    void Unload() {
        if (!window_) return;
        W* window = window_.release();
        window->Form_Unload();
        window->hide();
        window->deleteLater();
    }

private:
    std::unique_ptr<W> window_;
};

}  // namespace platform

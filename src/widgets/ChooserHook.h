// The seam through which tests answer a dialog instead of a user: a chooser
// function installed for one dialog class, and a guard that installs one for
// its lifetime.
#pragma once

#include <utility>

// `Dialog` names its function type `Chooser`; an empty function means the
// real dialog.
template <typename Dialog> class EChooserHook {
public:
    using Chooser = typename Dialog::Chooser;

    static const Chooser& Get() { return Installed(); }
    // Returns the chooser that was installed before.
    static Chooser Set(Chooser chooser) {
        Chooser previous = std::move(Installed());
        Installed() = std::move(chooser);
        return previous;
    }

    class Scoped {
    public:
        explicit Scoped(Chooser chooser) : m_previous(Set(std::move(chooser))) {}
        ~Scoped() { Set(std::move(m_previous)); }
        Scoped(const Scoped&) = delete;
        Scoped& operator=(const Scoped&) = delete;

    private:
        Chooser m_previous;
    };

private:
    static Chooser& Installed() {
        static Chooser chooser;
        return chooser;
    }
};

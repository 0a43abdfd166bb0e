#pragma once

#include <com/sun/star/beans/XPropertySet.hpp>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// Turns off the document's undo recording and row-height adjustment for one
// bulk change, and puts both back as they were when it ends.
//
// Both cost far more than the change itself on a large block: before
// colouring, undo copies the old attributes of every marked run by scanning
// its column from the top, which grows with the square of the runs on a
// column that already holds many formats (46 s against 8 s for a million
// rows). Neither serves a run: a fill changes no row height, and the run's
// colouring is not the user's own edit to take back, just as Excel keeps no
// undo step for a change made through automation.
//
// Turning undo off empties the document's undo list; a run works on a
// workbook just loaded, whose list is empty.
class PausedBookkeeping {
public:
    explicit PausedBookkeeping(const css::uno::Reference<css::beans::XPropertySet>& document);

private:
    // Sets one of the document's true-or-false settings, and puts back its
    // earlier value when it ends, even if the other could not be set.
    class ScopedFlag {
    public:
        ScopedFlag(css::uno::Reference<css::beans::XPropertySet> document, const char* name,
                   bool value);
        ~ScopedFlag();
        ScopedFlag(const ScopedFlag&) = delete;
        ScopedFlag& operator=(const ScopedFlag&) = delete;

    private:
        css::uno::Reference<css::beans::XPropertySet> document_;
        rtl::OUString name_;
        bool earlier_ = true;
    };

    ScopedFlag undoEnabled_;
    ScopedFlag heightsAdjusted_;
};

} // namespace sheet::libreoffice

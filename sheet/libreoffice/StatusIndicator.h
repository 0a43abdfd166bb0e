#pragma once

#include "sheet/Progress.h"

#include <com/sun/star/task/XStatusIndicator.hpp>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// A status indicator to hand the office in the load or store arguments: the
// office tells it how far loading or saving has come, and it passes that on
// to `listener` as `stage`. Its calls come on the office bridge's thread.
css::uno::Reference<css::task::XStatusIndicator> ProgressIndicator(Stage stage,
                                                                   ProgressListener listener);

} // namespace sheet::libreoffice

#pragma once

#include <QString>

// Where the program finds a data file of its own: beside the executable in a
// build tree, or in the installed data folder ../share/vantrelo relative to
// the executable's folder (/usr/bin -> /usr/share/vantrelo). The first of the
// two that holds the file; the executable's folder when neither does.
QString DataFolderHolding(const QString& executableFolder, const QString& fileName);

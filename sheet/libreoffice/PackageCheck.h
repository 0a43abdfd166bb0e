#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>
#include <rtl/ustring.hxx>

#include <optional>
#include <string>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// The name of the first XML part of a zipped workbook (.xlsx, .ods) that
// stops before its last closing tag, as a file cut short and zipped again
// does; none when every part is whole or the file is no zip. The office
// itself loads such a part up to the cut without a word (xlsx), so a
// workbook that looks complete may hold only its first rows. The parts are
// read by the office's own zip reader.
std::optional<std::string>
PartCutShort(const css::uno::Reference<css::uno::XComponentContext>& context,
             const rtl::OUString& url);

} // namespace sheet::libreoffice

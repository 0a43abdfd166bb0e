#include "PackageCheck.h"

#include "Strings.h"

#include <com/sun/star/io/XInputStream.hpp>
#include <com/sun/star/packages/zip/ZipFileAccess.hpp>

#include <algorithm>
#include <cctype>
#include <string_view>

namespace sheet::libreoffice {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr sal_Int32 kHeadBytes = 4096;
constexpr sal_Int32 kTailBytes = 512;
constexpr std::size_t kTailSize = kTailBytes;

bool IsXmlPart(const std::string& original) {
    const std::string name = AsciiLower(original);
    const auto endsWith = [&](std::string_view end) {
        return name.size() >= end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith(".xml") || endsWith(".rels");
}

std::string Read(const Reference<css::io::XInputStream>& stream, sal_Int32 count) {
    css::uno::Sequence<sal_Int8> bytes;
    const sal_Int32 got = stream->readBytes(bytes, count);
    return std::string(reinterpret_cast<const char*>(bytes.getConstArray()),
                       static_cast<std::size_t>(std::max<sal_Int32>(got, 0)));
}

// The root element's name, and whether its start tag closes it at once
// ("<sst .../>"); none when the head shows no element.
std::optional<std::pair<std::string, bool>> RootOf(std::string_view head) {
    std::size_t at = 0;
    while ((at = head.find('<', at)) != std::string_view::npos) {
        if (at + 1 < head.size() && (head[at + 1] == '?' || head[at + 1] == '!')) {
            ++at;
            continue;
        }
        const std::size_t nameEnd = head.find_first_of(" \t\r\n/>", at + 1);
        const std::size_t tagEnd = head.find('>', at);
        if (nameEnd == std::string_view::npos || tagEnd == std::string_view::npos) {
            return std::nullopt;
        }
        return std::pair{std::string(head.substr(at + 1, nameEnd - at - 1)),
                         head[tagEnd - 1] == '/'};
    }
    return std::nullopt;
}

// The part's last bytes. Not every part's stream can seek, so what lies
// between its head and its tail is skipped inside the office, unread here.
std::string TailOf(const Reference<css::io::XInputStream>& stream) {
    std::string tail;
    for (;;) {
        if (const sal_Int32 ahead = stream->available(); ahead > kTailBytes) {
            stream->skipBytes(ahead - kTailBytes);
        }
        const std::string more = Read(stream, kTailBytes);
        if (more.empty()) {
            return tail;
        }
        tail += more;
        if (tail.size() > kTailSize) {
            tail.erase(0, tail.size() - kTailSize);
        }
    }
}

bool IsWhole(const Reference<css::io::XInputStream>& stream) {
    const std::string head = Read(stream, kHeadBytes);
    // A part in UTF-16 (some custom XML parts are) is not judged here; the
    // parts that hold cells are UTF-8.
    if (head.find('\0') != std::string::npos) {
        return true;
    }
    const auto root = RootOf(head);
    if (!root) {
        return head.empty();
    }
    std::string tail = head + TailOf(stream);
    while (!tail.empty() && std::isspace(static_cast<unsigned char>(tail.back()))) {
        tail.pop_back();
    }
    const std::string end = root->second ? "/>" : "</" + root->first + ">";
    return tail.size() >= end.size() &&
           tail.compare(tail.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::optional<std::string> PartCutShort(const Reference<css::uno::XComponentContext>& context,
                                        const rtl::OUString& url) {
    Reference<css::packages::zip::XZipFileAccess2> zip;
    try {
        zip = css::packages::zip::ZipFileAccess::createWithURL(context, url);
    } catch (const css::uno::Exception&) {
        return std::nullopt; // not a zip: nothing of this kind to check
    }
    for (const auto& name : zip->getElementNames()) {
        if (!IsXmlPart(ToUtf8(name))) {
            continue;
        }
        const Reference<css::io::XInputStream> stream(zip->getByName(name), UNO_QUERY_THROW);
        if (!IsWhole(stream)) {
            return ToUtf8(name);
        }
    }
    return std::nullopt;
}

} // namespace sheet::libreoffice

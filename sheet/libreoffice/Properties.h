#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>

#include <utility>
#include <vector>

namespace sheet::libreoffice {

inline com::sun::star::beans::PropertyValue Property(const char* name,
                                                     com::sun::star::uno::Any value) {
    com::sun::star::beans::PropertyValue property;
    property.Name = rtl::OUString::createFromAscii(name);
    property.Value = std::move(value);
    return property;
}

inline com::sun::star::uno::Sequence<com::sun::star::beans::PropertyValue>
Properties(const std::vector<com::sun::star::beans::PropertyValue>& list) {
    return com::sun::star::uno::Sequence<com::sun::star::beans::PropertyValue>(
        list.data(), static_cast<sal_Int32>(list.size()));
}

} // namespace sheet::libreoffice

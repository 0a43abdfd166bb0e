#pragma once

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/uno/Sequence.hxx>

#include <initializer_list>
#include <utility>

namespace sheet::libreoffice {

inline com::sun::star::beans::PropertyValue Property(const char* name,
                                                     com::sun::star::uno::Any value) {
    com::sun::star::beans::PropertyValue property;
    property.Name = rtl::OUString::createFromAscii(name);
    property.Value = std::move(value);
    return property;
}

inline com::sun::star::uno::Sequence<com::sun::star::beans::PropertyValue>
Properties(std::initializer_list<com::sun::star::beans::PropertyValue> list) {
    return com::sun::star::uno::Sequence<com::sun::star::beans::PropertyValue>(
        list.begin(), static_cast<sal_Int32>(list.size()));
}

} // namespace sheet::libreoffice

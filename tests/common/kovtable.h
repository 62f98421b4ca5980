#pragma once
// A data table's columns in one statement, in the order of the types:
//   KOVTable::columns<int, QString>({"frames", "label"});
#include <QtTest>

#include <initializer_list>

namespace KOVTable {

template <typename... T>
void columns(std::initializer_list<const char*> names)
{
    auto name = names.begin();
    (QTest::addColumn<T>(*name++), ...);
}

} // namespace KOVTable

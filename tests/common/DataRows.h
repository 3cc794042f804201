#pragma once
// A data table of one struct a row: one column, one QFETCH(Row, row), each row on a line of its own.

#include <QTest>

#include <initializer_list>
#include <utility>

template <typename Row> void addRows(std::initializer_list<std::pair<const char*, Row>> rows) {
    QTest::addColumn<Row>("row");
    for (const auto& [tag, row] : rows) {
        QTest::newRow(tag) << row;
    }
}

#include "state/PageTable.h"

#include <cmath>
#include <string>

#include "state/Errors.h"

namespace state {

PageTable::PageTable(std::size_t rowCount) : m_rows(rowCount) {}

void PageTable::resize(std::size_t rowCount) {
    m_rows.resize(rowCount);
}

const std::optional<double>& PageTable::cell(std::size_t row, int column) const {
    if (row >= m_rows.size() || column < 0 || column >= kColumns) {
        throw TableError("page table: cell (" + std::to_string(row) + ", " +
                         std::to_string(column) + ") lies outside a table of " +
                         std::to_string(m_rows.size()) + " rows");
    }
    return m_rows[row][static_cast<std::size_t>(column)];
}

double PageTable::at(std::size_t row, int column) const {
    const auto& value = cell(row, column);
    if (!value) {
        throw TableError("page table: cell (" + std::to_string(row) + ", " +
                         std::to_string(column) + ") is empty");
    }
    return *value;
}

int PageTable::number(std::size_t row) const {
    const double value = at(row, Number);
    // Page numbers are stored only by setNumber, so anything else is a broken table.
    if (value != std::nearbyint(value)) {
        throw TableError("page table: row " + std::to_string(row) + " holds no page number");
    }
    return static_cast<int>(value);
}

bool PageTable::isEmpty(std::size_t row, int column) const {
    return !cell(row, column);
}

bool PageTable::isRowEmpty(std::size_t row) const {
    for (int column = 0; column < kColumns; ++column) {
        if (!isEmpty(row, column)) {
            return false;
        }
    }
    return true;
}

void PageTable::set(std::size_t row, int column, double value) {
    cell(row, column);  // bounds check
    m_rows[row][static_cast<std::size_t>(column)] = value;
}

void PageTable::setNumber(std::size_t row, int number) {
    set(row, Number, number);
}

}  // namespace state

#include "state/PageTable.h"

#include <cmath>
#include <string>

#include "state/Errors.h"

namespace state {

PageTable::PageTable(std::size_t rowCount) : m_values(rowCount), m_filled(rowCount) {}

void PageTable::resize(std::size_t rowCount) {
    m_values.resize(rowCount);
    m_filled.resize(rowCount);
}

void PageTable::requireInside(std::size_t row, int column) const {
    if (row >= m_values.size() || column < 0 || column >= kColumns) {
        throw TableError("page table: cell (" + std::to_string(row) + ", " +
                         std::to_string(column) + ") lies outside a table of " +
                         std::to_string(m_values.size()) + " rows");
    }
}

double PageTable::at(std::size_t row, int column) const {
    if (isEmpty(row, column)) {
        throw TableError("page table: cell (" + std::to_string(row) + ", " +
                         std::to_string(column) + ") is empty");
    }
    return m_values[row][static_cast<std::size_t>(column)];
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
    requireInside(row, column);
    return (m_filled[row] & bit(column)) == 0;
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
    requireInside(row, column);
    m_values[row][static_cast<std::size_t>(column)] = value;
    m_filled[row] = static_cast<std::uint8_t>(m_filled[row] | bit(column));
}

void PageTable::setNumber(std::size_t row, int number) {
    set(row, Number, number);
}

}  // namespace state

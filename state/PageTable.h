#pragma once

// A page table: rows numbered from 0, each of eight cells that are empty or
// hold a number. Columns 0..3 are top, left, bottom, right (host units, the
// host's bounds order), 4 the rotation angle in degrees, 5 height, 6 width,
// 7 the page number (a whole number).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace state {

class PageTable {
public:
    static constexpr int kColumns = 8;
    enum Column : int { Top = 0, Left, Bottom, Right, Angle, Height, Width, Number };

    PageTable() = default;
    // A table of `rowCount` rows, every cell empty.
    explicit PageTable(std::size_t rowCount);

    std::size_t rowCount() const { return m_values.size(); }

    // Grows or shrinks to `rowCount` rows; rows that stay keep their place and contents.
    void resize(std::size_t rowCount);
    void clear() {
        m_values.clear();
        m_filled.clear();
    }

    // Reading an empty cell, or a row or column outside the table, throws TableError.
    double at(std::size_t row, int column) const;
    int number(std::size_t row) const;
    bool isEmpty(std::size_t row, int column) const;
    bool isRowEmpty(std::size_t row) const;

    // Writing outside the table throws TableError.
    void set(std::size_t row, int column, double value);
    void setNumber(std::size_t row, int number);

    friend bool operator==(const PageTable&, const PageTable&) = default;

private:
    // A table holds tens of thousands of rows, so each is kept small: its values,
    // and apart from them which cells are filled (bit c: column c). An empty
    // cell holds 0, so that equal tables compare equal.
    using Values = std::array<double, kColumns>;
    static_assert(kColumns <= 8, "a row's filled cells are the bits of one byte");
    // Throws TableError for a cell outside the table.
    void requireInside(std::size_t row, int column) const;
    static std::uint8_t bit(int column) { return static_cast<std::uint8_t>(1U << column); }

    std::vector<Values> m_values;
    std::vector<std::uint8_t> m_filled;
};

}  // namespace state

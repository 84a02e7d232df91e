// A rows x columns array of numbers in one block, indexed a[row][column].
//
// resize keeps the values of the entries that exist before and after (at the
// same row and column) and sets new entries to zero, the way the analysis
// model keeps what a stopped collection did not reach.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace pelodyn {

template <typename T>
class Array2D {
 public:
  Array2D() = default;
  Array2D(std::size_t rows, std::size_t columns) : m_rows(rows), m_columns(columns), m_data(rows * columns) {}

  std::size_t rows() const { return m_rows; }
  std::size_t columns() const { return m_columns; }
  bool empty() const { return m_data.empty(); }

  T* operator[](std::size_t row) { return m_data.data() + row * m_columns; }
  const T* operator[](std::size_t row) const { return m_data.data() + row * m_columns; }
  T& at(std::size_t row, std::size_t column) { return m_data.at(row * m_columns + column); }
  const T& at(std::size_t row, std::size_t column) const { return m_data.at(row * m_columns + column); }

  void resize(std::size_t rows, std::size_t columns) {
    if (rows == m_rows && columns == m_columns) return;
    std::vector<T> next(rows * columns);
    const std::size_t keepRows = std::min(rows, m_rows);
    const std::size_t keepColumns = std::min(columns, m_columns);
    for (std::size_t r = 0; r < keepRows; ++r) {
      std::copy_n(m_data.begin() + static_cast<std::ptrdiff_t>(r * m_columns), keepColumns,
                  next.begin() + static_cast<std::ptrdiff_t>(r * columns));
    }
    m_data.swap(next);
    m_rows = rows;
    m_columns = columns;
  }

  // Reshapes to rows x columns with every entry `value`; keeps the storage,
  // so reshaping within the capacity already held allocates nothing.
  void assign(std::size_t rows, std::size_t columns, const T& value) {
    m_data.assign(rows * columns, value);
    m_rows = rows;
    m_columns = columns;
  }

  void fill(const T& value) { std::fill(m_data.begin(), m_data.end(), value); }

  bool operator==(const Array2D&) const = default;

 private:
  std::size_t m_rows = 0;
  std::size_t m_columns = 0;
  std::vector<T> m_data;
};

}  // namespace pelodyn

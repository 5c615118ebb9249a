#pragma once

#include <QString>

#include <compare>
#include <cstddef>
#include <functional>

// The place of a row in a table: its section and its row within the section. Index paths order
// by section, then row, so that they can key ordered maps, and hash for unordered ones.
class IndexPath {
public:
    constexpr IndexPath() = default;
    constexpr IndexPath(int row, int section) : m_section(section), m_row(row) {}
    static constexpr IndexPath indexPathForRow(int row, int section) { return {row, section}; }

    constexpr int section() const { return m_section; }
    constexpr int row() const { return m_row; }

    constexpr auto operator<=>(const IndexPath&) const = default;

    // "section.row", for logs and test messages.
    QString toString() const;

private:
    int m_section = 0;
    int m_row = 0;
};

template <> struct std::hash<IndexPath> {
    std::size_t operator()(const IndexPath& path) const noexcept {
        return std::hash<long long>()((static_cast<long long>(path.section()) << 32) ^
                                      static_cast<unsigned>(path.row()));
    }
};

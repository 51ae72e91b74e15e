#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace zelvan {

// A field of a record set: its bare name (Nr, Konto-Nr), its defined size and whether that size
// is a text length given in the declared type (VARCHAR(34)) rather than a number's storage size.
struct RecordsetField {
    std::string name;
    int size = 0;
    bool textLength = false;
};

// The rows of one SQL statement, read in full when the record set is opened, in the
// statement's order. The record count is therefore exact from the start; the cursor moves
// exist for callers that walk the rows.
class Recordset {
public:
    Recordset() = default;
    Recordset(std::vector<RecordsetField> fields, std::vector<std::string> values, std::vector<bool> nulls,
              std::vector<bool> numbers = {});

    const std::vector<RecordsetField>& fields() const { return m_fields; }
    std::size_t fieldCount() const { return m_fields.size(); }
    std::size_t recordCount() const { return m_fields.empty() ? 0 : m_values.size() / m_fields.size(); }

    // The value of a field in a row; null reads as the empty string.
    const std::string& value(std::size_t row, std::size_t field) const
    {
        return m_values[row * m_fields.size() + field];
    }
    bool isNull(std::size_t row, std::size_t field) const { return m_nulls[row * m_fields.size() + field]; }
    // Whether the value is stored as a number rather than as text, so that a key is sought again
    // as what it is.
    bool isNumber(std::size_t row, std::size_t field) const
    {
        const auto at = row * m_fields.size() + field;
        return at < m_numbers.size() && m_numbers[at];
    }

    void moveFirst() { m_position = 0; }
    void moveLast() { m_position = recordCount() == 0 ? 0 : recordCount() - 1; }
    std::size_t position() const { return m_position; }

    // Releases the rows.
    void close();

private:
    std::vector<RecordsetField> m_fields;
    std::vector<std::string> m_values; // row after row
    std::vector<bool> m_nulls;
    std::vector<bool> m_numbers;
    std::size_t m_position = 0;
};

} // namespace zelvan

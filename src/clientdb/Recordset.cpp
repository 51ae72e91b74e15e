#include "clientdb/Recordset.h"

namespace zelvan {

Recordset::Recordset(std::vector<RecordsetField> fields, std::vector<std::string> values, std::vector<bool> nulls,
                     std::vector<bool> numbers)
    : m_fields(std::move(fields)), m_values(std::move(values)), m_nulls(std::move(nulls)), m_numbers(std::move(numbers))
{
}

void Recordset::close()
{
    m_fields.clear();
    m_values.clear();
    m_nulls.clear();
    m_numbers.clear();
    m_position = 0;
}

} // namespace zelvan

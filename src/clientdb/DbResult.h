#pragma once

#include <utility>

#include "clientdb/DbError.h"

namespace zelvan {

// A value or the error that kept it from being made; errors are values, never exceptions.
template <typename T>
class DbResult {
public:
    DbResult(T value) : m_value(std::move(value)) {}
    DbResult(DbError error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error; }
    const DbError& error() const { return m_error; }
    const T& value() const& { return m_value; }
    T& value() & { return m_value; }
    // A temporary result hands its value over, so `f().value()` never dangles.
    T value() && { return std::move(m_value); }

private:
    T m_value{};
    DbError m_error;
};

} // namespace zelvan

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The outcome of an operation that can fail: a value, or the reason in words
// for the operator. Result<> carries no value. A failure is made from
// Failure{reason}, so that a function returns either its value or that.

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace kestrix {

struct Failure
{
    QString reason;
};

template <typename T = std::monostate> class [[nodiscard]] Result
{
public:
    Result() requires std::is_same_v<T, std::monostate> : m_value(T{}) {}
    Result(T value) : m_value(std::move(value)) {}
    Result(Failure failure) : m_error(std::move(failure.reason)) {}

    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T &value() const { return *m_value; }
    T &value() { return *m_value; }
    const T &operator*() const { return *m_value; }
    const T *operator->() const { return &*m_value; }

    // Only when not ok(): why.
    const QString &error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

} // namespace kestrix

#pragma once

#include <optional>
#include <stdexcept>

// A failure inside a forward handler: the handler stops and the window shows
// its catch-all message.
struct Failure : std::runtime_error
{
    Failure() : std::runtime_error("forward handler failed") {}
};

// The value, or an input failure when there is none.
template <class T>
T valueOf(const std::optional<T> &value)
{
    if (!value)
        throw Failure();
    return *value;
}

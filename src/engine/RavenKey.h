#pragma once

#include <array>

// The fifteen items of the matrices test are scored against a fixed key, in
// total and in five blocks of three items each.
inline constexpr int ravenItemCount = 15;
inline constexpr int ravenBlockSize = 3;
inline constexpr int ravenBlockCount = ravenItemCount / ravenBlockSize;

inline constexpr std::array<int, ravenItemCount> ravenKey = {3, 4, 2, 3, 4, 8, 1, 6, 2, 2, 5, 6, 2, 4, 5};

struct RavenScore
{
    int total = 0;
    std::array<int, ravenBlockCount> blocks{};
};

// Counts the answers equal to the key; any other number, in the candidates'
// range or not, counts nothing.
RavenScore scoreRaven(const std::array<int, ravenItemCount> &answers);

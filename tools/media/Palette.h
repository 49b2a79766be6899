#pragma once

#include <cstdint>

/// The game's colours (0xRRGGBB), as media/README.md describes them.
namespace orv::media::palette {

constexpr std::uint32_t mahoganyDark = 0x2B0E07; ///< outlines, rim lines, text shadow
constexpr std::uint32_t mahogany = 0x5C2414;     ///< wood panelling
constexpr std::uint32_t lacquerDark = 0x5E1A10;  ///< frame lacquer, shadowed
constexpr std::uint32_t lacquer = 0x9A3320;      ///< frame lacquer, lit
constexpr std::uint32_t vermilion = 0xC8432A;    ///< alerts, the quit button lit
constexpr std::uint32_t goldDeep = 0x8C5A16;     ///< gold in shadow
constexpr std::uint32_t gold = 0xD9A441;         ///< gold
constexpr std::uint32_t goldLight = 0xFFE7A3;    ///< gold in light
constexpr std::uint32_t jadeDark = 0x1D5E44;     ///< buttons, shadowed
constexpr std::uint32_t jadeLight = 0x4CA37E;    ///< buttons, lit
constexpr std::uint32_t parchment = 0xF5E8CC;    ///< dialog insides
constexpr std::uint32_t ivory = 0xFBF5E6;        ///< tile faces
constexpr std::uint32_t ivoryShade = 0xC9BC9C;   ///< tile edges
constexpr std::uint32_t ink = 0x3A2314;          ///< body text on parchment
constexpr std::uint32_t cream = 0xFFF4DC;        ///< light text, text highlights

} // namespace orv::media::palette

#pragma once
// Facts about the tool set itself that several programs show or write.
namespace tarvex {
inline constexpr const char* kToolSetName = "Tarvex";
inline constexpr const char* kWebsite = "https://tarvex.example/";
inline constexpr const char* kEmail = "tools@tarvex.example";
}  // namespace tarvex

#pragma once

// What every target needs: invariants that fail like crashes, and the input as bytes.

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant aborts, so that libFuzzer reports it like a crash and keeps the input.
#define FUZZ_CHECK(condition) \
  ((condition) ? void() : fuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] inline void fuzzCheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
  std::abort();
}

// A copy, so that the library sees an ordinary array and ASan still sees its true end.
inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

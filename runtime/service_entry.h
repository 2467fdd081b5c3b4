// The service entry: the one function of the core through which the
// runtime's components obtain memory and other services.
#pragma once

#include <cstdint>

using ServiceEntryFunction = intptr_t (*)(int32_t code, intptr_t argument1, intptr_t argument2);

intptr_t ServiceEntry(int32_t code, intptr_t argument1, intptr_t argument2);

namespace ServiceCode {
constexpr int32_t ArgumentToInteger = 2001;
constexpr int32_t CommandTail = 2002;
constexpr int32_t ProgramDirectory = 2003;
constexpr int32_t ProgramPath = 2004;
constexpr int32_t ProgramFileName = 1006;
constexpr int32_t ProcessMessages = 2018;
constexpr int32_t ReleaseArray = 2023;
constexpr int32_t AllocBlock = 2024;
constexpr int32_t FreeBlock = 2025;
constexpr int32_t ResizeBlock = 2026;
constexpr int32_t RuntimeErrorBox = 2027;
constexpr int32_t ExitProgram = 2028;
constexpr int32_t ProgramWindowCount = 2032;
constexpr int32_t ProgramWindow = 2033;
} // namespace ServiceCode

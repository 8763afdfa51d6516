// The plain types, result codes and last-error value of the system calls the programs make.
#pragma once

#include <cstdint>

using DWORD = uint32_t;
using LONG = int32_t;
using BOOL = int;
using BYTE = unsigned char;
using HRESULT = int32_t;
using REGSAM = DWORD;
using UINT = unsigned int;

constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_ENVVAR_NOT_FOUND = 203;
constexpr LONG ERROR_MORE_DATA = 234;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

// The error code of the last call that reports one, kept per thread as the system does.
DWORD GetLastError();
void SetLastError(DWORD code);

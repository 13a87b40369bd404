#pragma once
// Status codes of failed navigations, as NavigateError reports them: an HTTP status (404 …)
// when the server answered, else one of these, which keep the platform's INET_E_* values.
#include <cstdint>

enum : int32_t {
  StatusInvalidUrl = static_cast<int32_t>(0x800C0002),       // INET_E_INVALID_URL
  StatusCannotConnect = static_cast<int32_t>(0x800C0004),    // INET_E_CANNOT_CONNECT
  StatusNotFound = static_cast<int32_t>(0x800C0005),         // INET_E_RESOURCE_NOT_FOUND
  StatusDownloadFailure = static_cast<int32_t>(0x800C0008),  // INET_E_DOWNLOAD_FAILURE
  StatusTimeout = static_cast<int32_t>(0x800C000B),          // INET_E_CONNECTION_TIMEOUT
  StatusUnknownProtocol = static_cast<int32_t>(0x800C000D),  // INET_E_UNKNOWN_PROTOCOL
  StatusSecurityProblem = static_cast<int32_t>(0x800C000E),  // INET_E_SECURITY_PROBLEM
};

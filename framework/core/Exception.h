#pragma once
// The framework's error type: a message for the user, in UTF-16.  Handlers that let
// an error escape leave it to the application's standard exception box.
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::u16string message);
  const std::u16string& Message() const { return message_; }
  virtual const char16_t* ClassName() const { return u"Exception"; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  std::u16string message_;
  std::string utf8_;
};

#define DECLARE_EXCEPTION(Name, Base)                                  \
  class Name : public Base {                                           \
   public:                                                             \
    using Base::Base;                                                  \
    const char16_t* ClassName() const override { return u## #Name; } \
  };

DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EOutOfResources, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EReadError, EStreamError)
DECLARE_EXCEPTION(EInvalidGraphic, Exception)
DECLARE_EXCEPTION(EWin32Error, Exception)

// The text the platform gives for a system error code (GetLastError).
std::u16string SysErrorMessage(unsigned long code);
// Raises EWin32Error for the last error with what as context.
[[noreturn]] void RaiseLastOSError(const std::u16string& what);

// Where an error that escapes a callback of the platform ends up (a window procedure, a
// timer, a hook).  The application installs the standard exception box here; without it
// the text goes to the debugger output.  Never throws.
using TExceptionHandler = void (*)(const std::exception& error);
void SetExceptionHandler(TExceptionHandler handler);
void HandleException(const std::exception& error) noexcept;
// The message of any exception, as the exception box shows it.
std::u16string ExceptionText(const std::exception& error);

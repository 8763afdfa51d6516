// The system's exception hierarchy: every error the programs raise or catch is one of these.
#pragma once

#include <string>
#include <exception>

// Base of every exception of the system; carries the message shown to the user.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  ~Exception() override = default;

  const std::string& Message() const noexcept { return FMessage; }
  void SetMessage(std::string message) { FMessage = std::move(message); }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// The silent exception: it ends an operation and is never shown.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};

// File input and output failed; ErrorCode is the operating system's error number (0 when none).
class EInOutError : public Exception {
 public:
  explicit EInOutError(std::string message, int errorCode = 0)
      : Exception(std::move(message)), ErrorCode(errorCode) {}
  int ErrorCode;
};

// A text could not be converted to a number or a date.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// An operation that the object's state does not allow (a focus request on a hidden control, ...).
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// A typecast to a class the object does not belong to.
class EInvalidCast : public Exception {
 public:
  EInvalidCast() : Exception("Invalid class typecast") {}
  using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// A component or stored form could not be made as asked.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// A stored form could not be read.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

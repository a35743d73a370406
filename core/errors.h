#pragma once
// Errors raised by the core. They travel up to the application frame,
// which shows their message; ClassName() names the error in the
// start-up failure box.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error
{
public:
    explicit Exception(const std::string &message) : std::runtime_error(message) {}
    virtual const char *ClassName() const noexcept { return "Exception"; }
};

class EMathError : public Exception
{
public:
    using Exception::Exception;
    const char *ClassName() const noexcept override { return "EMathError"; }
};

class EInvalidOp : public EMathError
{
public:
    EInvalidOp() : EMathError("Invalid floating point operation") {}
    const char *ClassName() const noexcept override { return "EInvalidOp"; }
};

class EZeroDivide : public EMathError
{
public:
    EZeroDivide() : EMathError("Floating point division by zero") {}
    const char *ClassName() const noexcept override { return "EZeroDivide"; }
};

class EOverflow : public EMathError
{
public:
    EOverflow() : EMathError("Floating point overflow") {}
    const char *ClassName() const noexcept override { return "EOverflow"; }
};

// "Unable to write to <full path>"
class EIniFileException : public Exception
{
public:
    explicit EIniFileException(const std::string &path) : Exception("Unable to write to " + path) {}
    const char *ClassName() const noexcept override { return "EIniFileException"; }
};

// A component was given an owner of a class it cannot work with.
class EInvalidCast : public Exception
{
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
    const char *ClassName() const noexcept override { return "EInvalidCast"; }
};

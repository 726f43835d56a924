// The run time's exception family. Every failure the system raises is an Exception
// (or a descendant) carrying its message as 8-bit text.
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Format.h"

#include <exception>
#include <initializer_list>

class Exception : public std::exception {
public:
    explicit Exception(const AnsiString& message) : message_(message) {}
    // The message made by Format from a format string and its arguments.
    Exception(const AnsiString& format, std::initializer_list<TVarRec> args) : message_(Format(format, args)) {}
    ~Exception() override = default;

    const AnsiString& Message() const { return message_; }
    void SetMessage(const AnsiString& message) { message_ = message; }
    const char* what() const noexcept override { return message_.c_str(); }
    // Name of the most derived class, as the original's ClassName.
    virtual const char* ClassName() const { return "Exception"; }

    static Exception CreateFmt(const AnsiString& format, std::initializer_list<TVarRec> args)
    {
        return Exception(format, args);
    }

private:
    AnsiString message_;
};

#define VENDARO_EXCEPTION(Name, Base)                                                     \
    class Name : public Base {                                                            \
    public:                                                                               \
        using Base::Base;                                                                 \
        const char* ClassName() const override { return #Name; }                          \
        static Name CreateFmt(const AnsiString& format, std::initializer_list<TVarRec> args) \
        {                                                                                 \
            return Name(format, args);                                                    \
        }                                                                                 \
    }

VENDARO_EXCEPTION(EConvertError, Exception);
VENDARO_EXCEPTION(EAbstractError, Exception);
VENDARO_EXCEPTION(EInvalidOperation, Exception);
VENDARO_EXCEPTION(EOutOfResources, Exception);
VENDARO_EXCEPTION(EListError, Exception);
VENDARO_EXCEPTION(EStreamError, Exception);
VENDARO_EXCEPTION(EFilerError, EStreamError);
VENDARO_EXCEPTION(EReadError, EFilerError);
VENDARO_EXCEPTION(EWriteError, EFilerError);
VENDARO_EXCEPTION(EFOpenError, EStreamError);
VENDARO_EXCEPTION(EFCreateError, EStreamError);
VENDARO_EXCEPTION(EClassNotFound, EFilerError);
VENDARO_EXCEPTION(EInvalidPointer, Exception);
VENDARO_EXCEPTION(EZeroDivide, Exception);
VENDARO_EXCEPTION(EInvalidOp, Exception);
VENDARO_EXCEPTION(EResNotFound, Exception);
VENDARO_EXCEPTION(EInvalidGraphic, Exception);
VENDARO_EXCEPTION(EInvalidGraphicOperation, Exception);

// Input/output failure of the file routines, with the run time's error code
// (2 file not found, 5 access denied, 101 disk full, 103 file not open, ...).
class EInOutError : public Exception {
public:
    using Exception::Exception;
    EInOutError(const AnsiString& message, int errorCode) : Exception(message), errorCode_(errorCode) {}
    const char* ClassName() const override { return "EInOutError"; }
    static EInOutError CreateFmt(const AnsiString& format, std::initializer_list<TVarRec> args)
    {
        return EInOutError(format, args);
    }
    int ErrorCode() const { return errorCode_; }

private:
    int errorCode_ = 0;
};

// The run time's exception family. Every failure the system raises is an Exception
// (or a descendant) carrying its message as 8-bit text.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(const AnsiString& message) : message_(message) {}
    ~Exception() override = default;

    const AnsiString& Message() const { return message_; }
    void SetMessage(const AnsiString& message) { message_ = message; }
    const char* what() const noexcept override { return message_.c_str(); }
    // Name of the most derived class, as the original's ClassName.
    virtual const char* ClassName() const { return "Exception"; }

private:
    AnsiString message_;
};

#define VENDARO_EXCEPTION(Name, Base)                                        \
    class Name : public Base {                                               \
    public:                                                                  \
        using Base::Base;                                                    \
        const char* ClassName() const override { return #Name; }             \
    }

VENDARO_EXCEPTION(EConvertError, Exception);
VENDARO_EXCEPTION(EInOutError, Exception);
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
VENDARO_EXCEPTION(EResNotFound, Exception);
VENDARO_EXCEPTION(EInvalidGraphic, Exception);
VENDARO_EXCEPTION(EInvalidGraphicOperation, Exception);

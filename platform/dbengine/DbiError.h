// The engine's failure: every error of a connection or a statement carries the engine's
// message (Windows-1252 text) and, for errors of the SQL engine, its native result code.
#pragma once

#include "platform/rtl/Exceptions.h"

class EDbiError : public Exception {
public:
    explicit EDbiError(const AnsiString& message, int nativeCode = 0)
        : Exception(message), nativeCode_(nativeCode) {}
    const char* ClassName() const override { return "EDbiError"; }
    // The SQL engine's extended result code; 0 for errors the engine finds itself.
    int NativeCode() const { return nativeCode_; }

private:
    int nativeCode_;
};

#include "platform/rtl/ErrorOutput.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"

#include <cstdio>

void WriteErrorLine(const AnsiString& program, const AnsiString& reason)
{
    WriteErrorLineUtf8(program, AnsiToUtf8(reason));
}

void WriteErrorLineUtf8(const AnsiString& program, const std::string& reason)
{
    std::string text = AnsiToUtf8(program) + ": " + reason;
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

AnsiString HandledExceptionMessage()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

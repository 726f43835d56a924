#include "platform/rtl/ErrorOutput.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"

#include <cstdio>

void WriteErrorLine(const AnsiString& program, const AnsiString& reason)
{
    AnsiString line = program + ": " + reason;
    for (int i = 1; i <= line.Length(); ++i)
        if (line[i] == '\r' || line[i] == '\n')
            line[i] = ' ';
    const std::string text = AnsiToUtf8(line) + "\n";
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

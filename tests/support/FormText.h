// Components through a form description and back, as the form designer stores them: the text
// a component writes, the block of one object in it, and a new component read from a text.
#pragma once

#include "platform/classlib/Classes.h"

#include <string>

// The description the component and what it owns write.
inline std::string WriteFormText(TComponent* root)
{
    TStringStream s;
    s.WriteComponent(root);
    return s.DataString().c_str();
}

// A block of a description from its "object <name>" line to its "end"; empty where there is
// no such object.
inline std::string ObjectText(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find("object " + name + ":");
    return at == std::string::npos ? std::string() : text.substr(at, text.find("\n  end", at) - at);
}

// A new component made from the description; the caller owns it.
inline TComponent* ReadFormText(const std::string& text)
{
    TStringStream in{AnsiString(text.c_str())};
    return in.ReadComponent(nullptr);
}

// Reads the description into a component that is there already.
inline void ReadFormTextInto(TComponent* root, const std::string& text)
{
    TStringStream in{AnsiString(text.c_str())};
    in.ReadComponent(root);
}

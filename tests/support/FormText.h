// Components through a form description and back, as the form designer stores them: the text
// a component writes, the block of one object in it, a component read from a text, and a
// fixture whose form makes the round trip.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/classlib/Forms.h"

#include <string>

// The description the component and what it owns write. Texts are taken whole, a zero byte
// in them too (a damaged description must reach the reader as it is).
inline std::string WriteFormText(TComponent* root)
{
    TStringStream s;
    s.WriteComponent(root);
    return s.DataString().str();
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
    TStringStream in{AnsiString(text)};
    return in.ReadComponent(nullptr);
}

// Reads the description into a component that is there already.
inline void ReadFormTextInto(TComponent* root, const std::string& text)
{
    TStringStream in{AnsiString(text)};
    in.ReadComponent(root);
}

// A fixture whose form, named "Host", goes through its description and back into a new form;
// the first form is renamed so that the copy can take its name.
template <class Fixture>
class FormRoundTrip : public Fixture {
protected:
    void SetUp() override
    {
        Fixture::SetUp();
        RegisterClass(TForm::StaticClass());
        this->form_->SetName("Host");
    }
    // Reads the description into a new form and finds the named component in it.
    template <class T>
    T* ReadBack(const std::string& text, const char* name)
    {
        this->form_->SetName("Old");
        copy_.reset(ReadFormText(text));
        return dynamic_cast<T*>(copy_->FindComponent(name));
    }

    TOwned<TComponent> copy_;
};

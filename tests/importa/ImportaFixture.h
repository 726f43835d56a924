// The import dialog on a fresh copy of the sample databases, driven through injected input.
#pragma once

#include "importa/Unit1.h"
#include "importa/UnitInitialization.h"
#include "platform/rtl/FileSystem.h"
#include "tests/upgrade/ProgramFixture.h"

#include <sqlite3.h>

using TextRows = std::vector<std::vector<AnsiString>>;

const ShownBox kCompletedBox{"Procedura completa", "Procedura di importazione"};
const ShownBox kFailedBox{"Errore o duplicazione dati, importazione interrotta", "Importazione dati"};

class ImportaFixture : public ProgramFixture {
protected:
    ImportaFixture() : ProgramFixture(InitializeUnits, FinalizeUnits) {}

    TForm1* Start() { return StartProgram(Form1, "ProceduraImportazione"); }

    // The source file as the system names it (Windows form).
    std::string SourcePath() const { return WindowsPath(InFolder("dbVendaroBase4.mdb")); }
    static std::string WindowsPath(const std::string& hostPath)
    {
        return std::string(FileSystem::ToWindowsPath(hostPath).c_str());
    }

    // "&Cerca database": the open-file dialog answers the path (or Cancel when empty).
    void Browse(const std::string& path)
    {
        UserSetOpenFileResponder([path](const OPENFILENAMEA&) -> std::optional<AnsiString> {
            if (path.empty())
                return std::nullopt;
            return AnsiString(path);
        });
        Click(Form1->OBLButton4);
    }

    // Browse for the source, then "&Test collegamento".
    void Connect()
    {
        Browse(SourcePath());
        Click(Form1->OBLButton3);
        ASSERT_TRUE(Form1->OBLButton1->Enabled()) << "the source connects";
    }

    // Ticks the boxes by clicking them, then "&Inizia importazione dati".
    void RunImport(std::initializer_list<TCheckBox*> ticked)
    {
        for (TCheckBox* box : ticked)
            if (!box->Checked())
                Click(box);
        Click(Form1->OBLButton1);
    }

    // Starts the program, connects the sample source and imports the ticked boxes.
    void StartAndImport(std::initializer_list<TCheckBox* TForm1::*> ticked)
    {
        TForm1* form = Start();
        Connect();
        for (auto member : ticked)
            if (!(form->*member)->Checked())
                Click(form->*member);
        Click(form->OBLButton1);
    }

    std::vector<AnsiString> Log() const
    {
        std::vector<AnsiString> lines;
        for (int i = 0; i < Form1->ListBox1->Items()->Count(); ++i)
            lines.push_back(Form1->ListBox1->Items()->Strings(i));
        return lines;
    }

    TextRows Target(const AnsiString& sql) const { return Rows(*OpenData(), sql); }
    void ChangeSource(const AnsiString& sql) const { OpenSource()->Execute(sql); }
    // A change of the source in the file's own text (UTF-8), which may hold characters the
    // code page cannot.
    void ChangeSourceUtf8(const std::string& sql) const
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(InFolder("dbVendaroBase4.mdb").c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    void ChangeTarget(const AnsiString& sql) const { OpenData()->Execute(sql); }
};

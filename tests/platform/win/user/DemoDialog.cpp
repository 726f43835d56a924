#include "DemoDialog.h"

namespace {

HWND Control(HWND form, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0) {
    return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, form,
                           reinterpret_cast<HMENU>(static_cast<DWORD_PTR>(id)), nullptr, nullptr);
}

}  // namespace

DemoDialog CreateDemoDialog(HWND form) {
    DemoDialog d{};
    d.form = form;
    d.group = Control(form, "BUTTON", "Dati da importare", BS_GROUPBOX, 8, 8, 200, 70, 1);
    d.check = Control(form, "BUTTON", "Anagrafica Clienti", BS_AUTOCHECKBOX | WS_TABSTOP, 16, 28, 170, 17, 2);
    d.edit = Control(form, "EDIT", "C:\\Vendaro\\dbVendaroBase4.mdb", ES_AUTOHSCROLL | WS_TABSTOP, 8, 90, 250, 21, 3, WS_EX_CLIENTEDGE);
    d.list = Control(form, "LISTBOX", "", LBS_NOTIFY | WS_TABSTOP, 8, 120, 250, 60, 4, WS_EX_CLIENTEDGE);
    for (const char* line : {"Importazione clienti", "Importazione articoli", "Terminato", "Riga 4", "Riga 5", "Riga 6"})
        SendMessageA(d.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    d.button = Control(form, "BUTTON", "&Inizia importazione dati", BS_OWNERDRAW | WS_TABSTOP, 8, 190, 170, 25, 5);
    SendMessageA(d.check, BM_SETCHECK, BST_CHECKED, 0);
    return d;
}

// The article import: each new article of tblArticoli with its unit, one stock row per
// warehouse (the first three with the source's quantities) and one row per price list.
#include "importa/Statements.h"
#include "importa/Unit1.h"

// One article's values, all text, fresh for every article: nothing carries over from the
// previous one.
struct TArticle {
    AnsiString IDArticolo, CodInterno, Descrizione, Note, IDUnitaDiMisura;
    AnsiString UM;                                  // empty when the unit is not found
    AnsiString Qty1 = "0", Qty2 = "0", Qty3 = "0";  // "0" when there is no stock row
    AnsiString Minimum = "0", Alarm = "0";
};

namespace {

const int kDescriptionLength = 50;

// The source fields an article is made of.
const char* const kArticleFields[] = {"IDArticolo", "sCodInterno", "sDescrizione", "sNote", "IDUnitaDiMisura"};

AnsiString CommaToPoint(const AnsiString& value) { return ReplaceAll(value, ",", "."); }

// The quantity, the minimum and the reorder level of one stock row, checked as numbers.
AnsiString StockValues(const AnsiString& quantity, const TArticle& a)
{
    return Number(CommaToPoint(quantity)) + "," + Number(CommaToPoint(a.Minimum)) + "," +
           Number(CommaToPoint(a.Alarm));
}

} // namespace

void TForm1::ImportArticles()
{
    bool duplicate = false;
    // The articles go into one batch, committed at its end; each article is a unit of
    // its own inside it, and a failure commits the articles before it.
    warehouses_.reset();
    priceLists_.reset();
    InOneBatch(Database1, [&] { ImportArticleRows(duplicate); });
    WorkerDone("Importazione articoli");
    if (duplicate)
        Application->MessageBox("Gli articoli gi\xE0 presenti in archivio non sono stati importati",
                                "Procedura di importazione articoli", 0);
}

void TForm1::ImportArticleRows(bool& duplicate)
{
    OpenStatement(Query2, "select * from tblArticoli order by idarticolo");
    if (!Query2->IsEmpty()) {
        Query2->First();
        while (!Query2->Eof()) {
            ImportArticle(duplicate);
            Query2->Next();
        }
    }
    Query2->Close();
}

// The import writes neither table, so what the first article finds holds for the run.
const std::vector<AnsiString>& TForm1::Warehouses()
{
    if (!warehouses_) {
        std::vector<AnsiString> ids;
        OpenStatement(Query3, "select id,nome from magazzini order by id");
        Query3->First();
        while (!Query3->Eof()) {
            ids.push_back(Number(FieldText(Query3, "id")));
            Query3->Next();
        }
        Query3->Close();
        warehouses_ = std::move(ids);
    }
    return *warehouses_;
}

const std::vector<AnsiString>& TForm1::PriceLists()
{
    if (!priceLists_) {
        std::vector<AnsiString> ids;
        OpenStatement(Query3, "select id from listini order by id");
        Query3->First();
        while (!Query3->Eof()) {
            ids.push_back(Number(FieldText(Query3, "id")));
            Query3->Next();
        }
        Query3->Close();
        priceLists_ = std::move(ids);
    }
    return *priceLists_;
}

void TForm1::ImportArticle(bool& duplicate)
{
    ReportChangedText(Query2, "articoli", "sCodInterno", kArticleFields);
    TArticle a;
    a.IDArticolo = FieldText(Query2, "IDArticolo");
    a.CodInterno = FieldText(Query2, "sCodInterno");
    a.Descrizione = Copy(FieldText(Query2, "sDescrizione"), 1, kDescriptionLength);
    a.Note = FieldText(Query2, "sNote");
    a.IDUnitaDiMisura = FieldText(Query2, "IDUnitaDiMisura");

    OpenStatement(Query4, "select * from tblUnitaDiMisura where IDUnitaDiMisura=" + Number(a.IDUnitaDiMisura));
    if (!Query4->IsEmpty()) {
        Query4->First();
        a.UM = FieldText(Query4, "sAbbreviazione");
    }
    Query4->Close();

    for (AnsiString* text : {&a.CodInterno, &a.Descrizione, &a.Note}) {
        ReplaceChar(*text, '\'', '`');
        ReplaceChar(*text, ',', ' ');
    }
    ReplaceChar(a.Note, ':', ' ');

    // Present means an article with the same internal code, the key the id look-up uses.
    OpenStatement(Query1, "select codice from articoli where codiceinterno=" + Quoted(a.CodInterno));
    if (!Query1->IsEmpty()) {
        duplicate = true;
        return;
    }
    Query1->Close();
    // The article and its stock and price-list rows are written whole or not at all, so a
    // failure never leaves an article that a later run would skip as present.
    WriteRow("articoli", FieldUtf8(Query2, "sCodInterno"),
             [&] { InOneTransaction(Database1, [&] { WriteArticle(a); }); });
}

void TForm1::WriteArticle(const TArticle& a)
{
    RunStatement(Query1, "insert into articoli (codice,codiceinterno,descrizione,note,UM) values(" +
                             QuotedList({a.IDArticolo, a.CodInterno, a.Descrizione, a.Note, a.UM}) + ")");

    OpenStatement(Query1, "select id from articoli where codiceinterno=" + Quoted(a.CodInterno));
    if (Query1->IsEmpty())
        throw EDatabaseError("The article just written is not found: " + a.CodInterno);
    Query1->First();
    const AnsiString newId = Number(FieldText(Query1, "id"));
    Query1->Close();

    TArticle stock = a;
    OpenStatement(Query4, "select * from tblMagazzino where idarticolo=" + Number(a.IDArticolo));
    if (!Query4->IsEmpty()) {
        Query4->First();
        stock.Qty1 = FieldText(Query4, "iQtaDisp1");
        stock.Qty2 = FieldText(Query4, "iQtaDisp2");
        stock.Qty3 = FieldText(Query4, "iQtaDisp3");
        stock.Minimum = FieldText(Query4, "iScortaMinima");
        stock.Alarm = FieldText(Query4, "iScortaAllarme");
    }
    Query4->Close();

    // Every warehouse gets a stock row; the first three take the source's quantities (the
    // first always, the second and third when their id is not 0). They are written with
    // the row, which stores what a zero row followed by an update of it would.
    const std::vector<AnsiString>& warehouses = Warehouses();
    const AnsiString quantities[3] = {stock.Qty1, stock.Qty2, stock.Qty3};
    AnsiString stocked[3];
    for (int i = 0; i < 3; ++i) {
        const AnsiString id = i < static_cast<int>(warehouses.size()) ? warehouses[i] : AnsiString("0");
        if (i == 0 || id != "0")
            stocked[i] = StockValues(quantities[i], stock);
    }
    for (std::size_t i = 0; i < warehouses.size(); ++i) {
        const AnsiString& warehouse = warehouses[i];
        if (i < 3 && !stocked[i].IsEmpty())
            RunStatement(Query1, "insert into giacenze (idarticolo,idmagazzino,giacenza,GiacenzaMin,LivelloRiordino) "
                                 "values(" + newId + "," + warehouse + "," + stocked[i] + ")");
        else
            RunStatement(Query1, "insert into giacenze (idarticolo,idmagazzino,giacenza) values(" + newId + "," +
                                     warehouse + ",0)");
    }

    for (const AnsiString& priceList : PriceLists())
        RunStatement(Query1, "insert into righelistino (idlistino,idarticolo,Codice,Descrizione,costo,sconto,ricarico,"
                             "prezzo) values(" +
                                 priceList + "," + newId + "," + QuotedList({a.IDArticolo, a.Descrizione}) +
                                 ",0,0,0,0)");
}

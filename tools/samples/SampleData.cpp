#include "tools/samples/SampleData.h"

#include "platform/dbengine/DbiConnection.h"
#include "platform/dbengine/DbiDrivers.h"
#include "platform/dbengine/DbiError.h"
#include "platform/rtl/StrUtils.h"
#include "tools/samples/SampleSchema.h"

#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

AnsiString Q(const AnsiString& value)
{
    AnsiString out = "'";
    for (int i = 1; i <= value.Length(); ++i) {
        out += value[i];
        if (value[i] == '\'')
            out += '\'';
    }
    return out + "'";
}

AnsiString Num(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

AnsiString Int(long long value) { return AnsiString(std::to_string(value)); }

AnsiString Values(const std::vector<AnsiString>& values)
{
    AnsiString out = "(";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i ? "," : "") + values[i];
    return out + ")";
}

void Run(DbiConnection& db, const std::vector<const char*>& statements)
{
    for (const char* s : statements)
        db.Execute(s);
}

struct RegistryRow {
    int category;
    const char* fields[14]; // sCodInterno .. sSitoWeb in the source's order, see kRegistryColumns
};

const char* const kRegistryColumns =
    "IDCategoria,sCodInterno,sCognomeRS,sNome,sIndirizzo,sCap,sCitta,sProvincia,sTelefono,sTeleFax,sCellulare,"
    "sEMail,sCodiceFiscale,sPartitaIva,sSitoWeb";

// Text is Windows-1252: \xE0 a grave, \xE8 e grave, \xEC i grave, \xF2 o grave, \xF9 u grave.
const RegistryRow kRegistry[] = {
    {1, {"C001", "Rossi Mario", "Mario", "Via Roma, 12", "20121", "Milano", "MI", "02 1234567", "02 1234568",
         "333 1234567", "mario.rossi@example.it", "RSSMRA70A01F205X", "01234567890", "www.rossi.example.it"}},
    {1, {"C002", "D'Angelo Ferramenta S.r.l.", "Giuseppe", "Corso Vittorio Emanuele II, 45", "80121", "Napoli",
         "NA", "081 5551234", "081 5551235", "347 1112223", "ordini@dangelo.example.it", "DNGGPP62C15F839Y",
         "04567890123", "www.dangelo.example.it"}},
    {1, {"C003", "Bianchi & Figli", "Luca, Anna", "Piazza Garibaldi 3", "47121", "Forl\xEC", "FC", "0543 22111", "",
         "", "info@bianchi,figli.example.it", "", "02223334445", "www.bianchi,figli.example.it"}},
    {1, {"", "Cliente senza codice", "Carlo", "Via Verdi 1", "10121", "Torino", "TO", "011 4445566", "", "", "", "",
         "", ""}},
    {1, {"C001", "Rossi Mario (doppione)", "Mario", "Via Roma 12", "20121", "Milano", "MI", "02 1234567", "", "", "",
         "", "", ""}},
    {1, {"C'05", "L'Erboristeria di Nicol\xF2", "Nicol\xF2", "Vicolo dell'Orto 2", "40125", "Bologna", "BO",
         "051 220011", "", "339 8887776", "nicolo@erboristeria.example.it", "", "", ""}},
    {2, {"F001", "Edilizia Sant'Agata S.p.A.", "Ufficio acquisti", "Via Provinciale, 150", "40019",
         "Sant'Agata Bolognese", "BO", "051 956000", "051 956001", "", "acquisti@santagata.example.it", "",
         "03334445556", "www.santagata.example.it"}},
    {2, {"F002", "Idraulica Esposito", "Salvatore", "Via dell'Industria, 7", "80078", "Pozzuoli", "NA", "081 8672211",
         "", "335 6677889", "esposito@idraulica.example.it", "SPSSVT58D20G964Z", "05556667778", ""}},
    {2, {"F003", "Colorificio Ferrari", "Giulia", "Strada Nazionale per Carpi 1000", "41122", "Modena", "MO",
         "059 311122", "059 311123", "", "vendite@ferrari-colori.example.it", "", "06667778889",
         "www.ferrari-colori.example.it"}},
    {0, {"K001", "Gallo Francesca", "Francesca", "Via Mazzini 21", "37121", "Verona", "VR", "045 8001122", "",
         "340 1231231", "f.gallo@example.it", "GLLFNC80M41L781Q", "", ""}},
    {0, {"K002", "Conti Paolo", "Paolo", "Viale Europa, 5", "25121", "Brescia", "BS", "030 3775544", "", "",
         "paolo.conti@example.it", "CNTPLA75T10B157R", "", ""}},
    {5, {"V001", "Trasporti Bruno S.n.c.", "Bruno", "Via Emilia, 200", "42121", "Reggio nell'Emilia", "RE",
         "0522 300400", "0522 300401", "", "logistica@trasportibruno.example.it", "", "07778889990", ""}},
    {5, {"V002", "Corriere Veloce", "Sede di Parma", "Via Mantova 90", "43122", "Parma", "PR", "0521 778899", "", "",
         "parma@corriereveloce.example.it", "", "08889990001", "www.corriereveloce.example.it"}},
    {4, {"R001", "Marino Stefano", "Stefano", "Corso Cavour, 77", "70121", "Bari", "BA", "080 5210000", "",
         "328 4445556", "stefano.marino@example.it", "MRNSFN71H05A662T", "09990001112", ""}},
    {4, {"R002", "Greco Chiara", "Chiara", "Via Etnea 310", "95124", "Catania", "CT", "095 7150000", "", "",
         "chiara.greco@example.it", "GRCCHR84S55C351U", "", ""}},
    {3, {"S001", "Studio De Luca", "Dott. Marco De Luca", "Viale dei Mille, 18", "50131", "Firenze", "FI",
         "055 5001234", "055 5001235", "", "studio@deluca.example.it", "DLCMRC66E10D612V", "01112223334",
         "www.studiodeluca.example.it"}},
    {3, {"S002", "Ricci Elena", "Elena", "Via Po 14", "10123", "Torino", "TO", "011 8123456", "", "",
         "elena.ricci@example.it", "RCCLNE79P50L219W", "", ""}},
};

struct ArticleRow {
    const char* code;
    const char* description;
    const char* note;
    int unit;
    double price;
    double stock[5]; // iQtaDisp1..3, iScortaMinima, iScortaAllarme
};

const ArticleRow kArticles[] = {
    {"VIT-4X40", "Viti autofilettanti 4x40, zincate", "Confezione: 100 pezzi, acciaio", 5, 3.5, {120, 35.5, 0, 10, 20}},
    {"MART-500", "Martello da carpentiere 500 g", "", 1, 14.9, {12, 4, 2, 2, 4}},
    {"CAVO-3G15", "Cavo elettrico 3G1,5 mm\xB2 al metro", "Venduto a taglio: minimo 1 m", 3, 0.85, {250.5, 0, 100, 50, 80}},
    {"VERN-BIANCA", "Vernice all'acqua bianca opaca", "Lavabile, inodore", 4, 18.0, {30, 6.25, 0, 5, 8}},
    {"TASS-8", "Tasselli in nylon diametro 8 mm per muratura piena e forata, confezione risparmio",
     "Per carichi medi", 5, 6.4, {40, 10, 10, 5, 10}},
    {"CHIODI-KG", "Chiodi da legno assortiti", "", 2, 4.2, {7.75, 1.5, 0, 1, 2}},
};

const char* const kUnits[][2] = {
    {"Pezzi", "pz"}, {"Chilogrammi", "kg"}, {"Metri", "m"}, {"Litri", "lt"}, {"Confezioni", "conf"},
};

void InsertRegistryRow(DbiConnection& db, int category, const std::vector<AnsiString>& fields)
{
    std::vector<AnsiString> values{Int(category)};
    for (const AnsiString& f : fields)
        values.push_back(Q(f));
    db.Execute(AnsiString("insert into tblAnagrafiche (") + kRegistryColumns + ") values" + Values(values));
}

void InsertArticle(DbiConnection& db, const ArticleRow& a, long long id)
{
    db.Execute("insert into tblArticoli (sCodInterno,sDescrizione,sNote,IDUnitaDiMisura,cPrezzo) values" +
               Values({Q(a.code), Q(a.description), Q(a.note), Int(a.unit), Num(a.price)}));
    db.Execute("insert into tblMagazzino (idarticolo,iQtaDisp1,iQtaDisp2,iQtaDisp3,iScortaMinima,iScortaAllarme) "
               "values" +
               Values({Int(id), Num(a.stock[0]), Num(a.stock[1]), Num(a.stock[2]), Num(a.stock[3]), Num(a.stock[4])}));
}

const char* const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci",
                                 "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "D'Amico", "Costa"};
const char* const kNames[] = {"Marco", "Giulia", "Luca", "Francesca", "Andrea", "Chiara", "Paolo", "Sara",
                              "Nicol\xF2", "Elena", "Matteo", "Anna"};
const char* const kCities[][3] = {{"Milano", "MI", "20121"}, {"Roma", "RM", "00184"}, {"Napoli", "NA", "80121"},
                                  {"Forl\xEC", "FC", "47121"}, {"Cant\xF9", "CO", "22063"}, {"Bari", "BA", "70121"},
                                  {"L'Aquila", "AQ", "67100"}, {"Torino", "TO", "10121"}};

void GenerateRegistry(DbiConnection& db, int rows)
{
    const int categories[] = {1, 2, 0, 5, 4, 3};
    for (int category : categories)
        for (int i = 0; i < rows; ++i) {
            const int k = category * rows + i;
            const AnsiString surname = kSurnames[k % 16], name = kNames[k % 12];
            const auto& city = kCities[k % 8];
            char code[24];
            std::snprintf(code, sizeof code, "%d-%06d", category, i + 1);
            InsertRegistryRow(db, category,
                              {code, surname + " " + name, name, "Via Garibaldi, " + Int(i % 200 + 1), city[2], city[0],
                               city[1], "0" + Int(100000 + k), "", "3" + Int(300000000 + k),
                               LowerCase(name) + "@example.it", "", Int(10000000000LL + k), ""});
        }
}

void GenerateArticles(DbiConnection& db, int count)
{
    for (int i = 0; i < count; ++i) {
        char code[24];
        std::snprintf(code, sizeof code, "ART-%06d", i + 1);
        const AnsiString description = "Articolo " + Int(i + 1) + ", " + kSurnames[i % 16];
        const ArticleRow row{code, description.c_str(), "Nota: generata", i % 5 + 1, 1 + i % 97 * 0.5,
                             {static_cast<double>(i % 50), i % 7 + 0.5, 0, 1, 2}};
        InsertArticle(db, row, i + 1);
    }
}

void RemoveSampleFile(const std::filesystem::path& file)
{
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(file.string() + suffix, ec);
}

template <class Fill>
void Make(const std::filesystem::path& file, SqlDialect dialect, Fill fill)
{
    std::filesystem::create_directories(file.parent_path());
    DbiConnection db(file.string(), dialect, false, true);
    db.StartTransaction();
    fill(db);
    db.Commit();
    // An Access sample stays one self-contained file.
    if (dialect == SqlDialect::Access)
        db.Execute("PRAGMA journal_mode=DELETE");
}

} // namespace

void FillSourceDatabase(DbiConnection& db, const SampleOptions& options)
{
    Run(db, SourceSchema());
    db.Execute("insert into tblanagraficaditta (sCognomeRS,sIndirizzo,sCitta,sNazione,sCap,sProvincia,sPartitaiva,"
               "sCodicefiscale,sTelefono,sCellulare,sTelefax,sCCIAA,sEmail,sSitoWeb) values" +
               Values({Q("Ferramenta dell'Orso di Colombo Andrea"), Q("Via San Martino, 8"), Q("Lucca"), Q("Italia"),
                       Q("55100"), Q("LU"), Q("02345678901"), Q("CLMNDR65B12E715K"), Q("0583 491234"),
                       Q("348 7654321"), Q("0583 491235"), Q("LU-123456"), Q("info@ferramentadellorso.example.it"),
                       Q("www.ferramentadellorso.example.it")}));
    for (const auto& unit : kUnits)
        db.Execute("insert into tblUnitaDiMisura (sDescrizione,sAbbreviazione) values" + Values({Q(unit[0]), Q(unit[1])}));
    if (options.registryRows > 0) {
        GenerateRegistry(db, options.registryRows);
    } else {
        for (const RegistryRow& row : kRegistry)
            InsertRegistryRow(db, row.category, std::vector<AnsiString>(std::begin(row.fields), std::end(row.fields)));
    }
    if (options.articles > 0) {
        GenerateArticles(db, options.articles);
    } else {
        long long id = 0;
        for (const ArticleRow& a : kArticles)
            InsertArticle(db, a, ++id);
    }
}

void FillDataFolder(DbiConnection& db)
{
    Run(db, DataFolderSchema());
    db.Execute("insert into studio (denominazioneA,citt\xE0) values('Ditta da configurare','')");
    for (const char* name : {"Magazzino centrale", "Negozio", "Deposito esterno"})
        db.Execute("insert into magazzini (nome) values" + Values({Q(name)}));
    db.Execute("insert into listini (nome,ivainclusa) values('Listino al pubblico',1)");
    db.Execute("insert into listini (nome,ivainclusa) values('Listino rivenditori',0)");
    for (const char* table : {"documenti", "ordinicli", "preventivi", "ricfisc", "notecredito", "fattpf"})
        for (int n = 1; n <= 2; ++n)
            db.Execute(AnsiString("insert into ") + table + " (numero,data,idcliente,totale) values" +
                       Values({Int(n), Q("2024-03-0" + Int(n)), "1", Num(100.5 * n)}));
    db.Execute("insert into DDT (numero,data,idcliente,idvettore,colli,totale) values(1,'2024-03-01',1,1,3,250.75)");
    db.Execute("insert into ordini (numero,data,idfornitore,totale) values(1,'2024-02-15',1,980)");
}

void FillReportDatabase(DbiConnection& db)
{
    Run(db, ReportSchema());
    for (const char* table : {"DDT", "Fattura", "Nota di credito", "Ordine Cliente", "Ordine Fornitore", "Preventivo",
                              "Ricevuta Fiscale"})
        db.Execute(AnsiString("insert into [") + table + "-Intestazione] (Numero,Data,RagioneSociale,Indirizzo,Totale) "
                   "values(1,'2024-03-01 10:00:00','Rossi Mario','Via Roma 12, Milano',122)");
}

void MakeSamples(const std::string& root, const SampleOptions& options, bool replace)
{
    const std::filesystem::path base(root);
    const std::filesystem::path source = base / "dbVendaroBase4.mdb";
    const std::filesystem::path data = base / "Dati" / kParadoxTablesFile;
    const std::filesystem::path report = base / "ComponenteStampa" / "RPTDATA.mdb";
    for (const auto& file : {source, data, report}) {
        std::error_code ec;
        if (!replace && std::filesystem::exists(file, ec))
            throw EDbiError("The sample file " + AnsiString(file.string()) + " already exists");
    }
    for (const auto& file : {source, data, report})
        RemoveSampleFile(file);
    Make(source, SqlDialect::Access, [&](DbiConnection& db) { FillSourceDatabase(db, options); });
    Make(data, SqlDialect::Paradox, [](DbiConnection& db) { FillDataFolder(db); });
    Make(report, SqlDialect::Access, [](DbiConnection& db) { FillReportDatabase(db); });
}

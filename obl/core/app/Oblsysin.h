// Unit Oblsysin: questions about the running system for the rest of the library: the
// Windows version (flags fixed at start-up), display, user and computer names, folders
// and temporary files, memory, drives, the program's version resource, locale texts, the
// sizes of the parts of a title bar, and a caption and display text per kind of
// information. Queries that cannot get their answer give "(Unknown)", 0, 100 for the
// resource percentages, or an empty text; none raises.
#pragma once

#include "platform/classlib/TypInfo.h"
#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <cstdint>

class TStrings;

// ---- Version flags, set by OblsysinInitialization ----------------------------------
extern bool OBLSIWindows95, OBLSIWindows98, OBLSIWindowsNT, OBLSIWindows2000, OBLSIWindows2000AdvancedServer,
    OBLSIWindowsME, OBLSIWindowsXP, OBLSIWindowsXPHome, OBLSIWindowsXPProf, OBLSINETServer, OBLSIWindowsExtension;

// Sets the flags anew from the system's version (every flag is cleared first).
void OblsysinInitialization();

VENDARO_ENUM(TOBLVersionInfoType, viCompany, viName, viVersion, viCopyright, viTrademark, viDescription,
             viComments, viFileVersion, viFileVersionFull, viFileVersionBuild)

VENDARO_ENUM(TOBLInfoType, itUser, itWinDir, itCurrentDir32, itCurrentDiskFree32, itCurrentDiskSize32, itSystemDir,
             itReg_Owner32, itReg_Company32, itVersion, itColorDepth, itScreenSaverDelay, itMemSize, itFreeSysRes,
             itFreeGDIRes, itFreeUserRes, itComputerName32, itMajorVerNr32, itBuildNr32, itMemLoaded32,
             itMemFree32, itMemPageFree32, itMemPageTotal32, itMemVirtFree32, itMemVirtTotal32, itPlatformID32,
             itPlatform32, itProcessorCont32, itProcessor32, itTempPath32, itDOSVersion, itNumLock, itCapsLock,
             itScroll, itCurrentDateTime, itProgCompany, itProgName, itProgVersion, itFileVersion,
             itFileVersionFull, itFileVersionBuild, itProgCopyright, itProgTrademark, itProgDescription,
             itProgComments, itCPUSpeed)

struct TOBLDriveInfo {
    UINT DriveType = 0;
    std::int64_t TotalSize = 0;
    std::int64_t FreeSize = 0;
    DWORD SectorsPerCluster = 0;
    DWORD BytesPerSector = 0;
};

// ---- Non-client metrics -------------------------------------------------------------
int OBLNCBITMAPHEIGHT();
int OBLNCBITMAPWIDTH();
int OBLNCCAPTIONHEIGHT();
int OBLNCDLGBORDERWIDTH();
int OBLNCDLGBORDERHEIGHT();
int OBLNCFIXBORDERWIDTH();
int OBLNCFIXBORDERHEIGHT();
int OBLNCSIZEBORDERWIDTH();
int OBLNCSIZEBORDERHEIGHT();
int OBLNCBORDERWIDTH();
int OBLNCBORDERHEIGHT();
int OBLNCSMALLCAPTIONHEIGHT();
int OBLNCSMALLBITMAPHEIGHT();
int OBLNCSMALLBITMAPWIDTH();
int OBLNCCAPTIONICONHEIGHT();
int OBLNCCAPTIONICONWIDTH();

// Flags of OBLNCCalcDrawingArea.
constexpr WORD OBLNC_CAPTIONTOTEXTEND = 0x01;   // in: the caption ends where the text area ends
constexpr WORD OBLNC_CAPTIONTOTEXTSTART = 0x02; // in: the caption starts where the text area starts
constexpr WORD OBLNC_SMALLCAPTION = 0x04;       // out
constexpr WORD OBLNC_CAPTIONICON = 0x08;        // out
constexpr WORD OBLNC_MINIMIZEDICON = 0x10;      // out
constexpr WORD OBLNC_FORCEICON = 0x20;          // in: an icon even without a sizing frame
// The caption band and its text area of a window, in window coordinates. The output
// flags are cleared on entry.
void OBLNCCalcDrawingArea(HWND Wnd, RECT& CaptionRect, RECT& TextRect, WORD& Flags);

// ---- System information -------------------------------------------------------------
bool OBLSIStretchBltPossible();
BYTE OBLSIColorDepth();
int OBLSIScreenSaverDelay();
bool OBLSINumLock();
bool OBLSICapsLock();
bool OBLSIScrollLock();
std::uint64_t OBLSIMemTotal();
std::uint64_t OBLSIMemFree();
std::uint64_t OBLSIMemPageTotal();
std::uint64_t OBLSIMemPageFree();
std::uint64_t OBLSIMemVirtTotal();
std::uint64_t OBLSIMemVirtFree();
BYTE OBLSIMemLoaded();
WORD OBLSIMajorVersionNr();
WORD OBLSIMinorVersionNr();
WORD OBLSIBuildNr();
AnsiString OBLSIVersionString();
AnsiString OBLSIVersionStr();
double OBLSIVersionNr();
// major + minor / 10^(decimal digits of minor): 5.1, 4.10, 4.90.
double OBLSIVersionNrOf(WORD major, WORD minor);
DWORD OBLSIPlatformID();
AnsiString OBLSIPlatformStr();
AnsiString OBLSIPlatformName(DWORD platform);
bool OBLSIOLDWindowsNT();
BYTE OBLSIProcessorCount();
AnsiString OBLSIProcessorTypeStr();
AnsiString OBLSIProcessorTypeName(DWORD type);
BYTE OBLSIFreeSysRes();
BYTE OBLSIFreeGDIRes();
BYTE OBLSIFreeUserRes();
TOBLDriveInfo OBLSIDriveInfo(const AnsiString& Drive);
void OBLSIDriveList(TStrings* List);
AnsiString OBLSIDriveTypeStr(UINT Type);
AnsiString OBLSITempPath();
void OBLSIEnvironment(TStrings* List);
AnsiString OBLSIWindowsDirectory();
AnsiString OBLSISystemDirectory();
AnsiString OBLSITempFile();
AnsiString OBLSIRegisteredOwner();
AnsiString OBLSIRegisteredCompany();
AnsiString OBLSIComputerName();
AnsiString OBLSIUserName();
LANGID OBLSISystemDefaultLanguageID();
AnsiString OBLSIGetTimeZone();
int OBLSIGetTimeZoneBias();
int OBLSIIconWidth();
int OBLSIIconHeight();
int OBLSISmallIconWidth();
int OBLSISmallIconHeight();
DWORD_PTR OBLSISystemIconListHandle(bool Large);
// MHz, measured over half a second; 0 where the processor has no cycle counter.
double OBLSIGetCPUSpeed();
AnsiString OBLSIVersionInfo(TOBLVersionInfoType Kind);
AnsiString OBLGetLocalInfo(int Index);
AnsiString OBLSIInfoToString(TOBLInfoType Kind);
AnsiString GetSystemInfoString(TOBLInfoType Kind, int Divisor, const AnsiString& Format);
DWORD OBLSIVIPlatformID();
BYTE OBLSIProductType();

// The clipboard shared with the other programs of an X display: the CLIPBOARD selection.
// Setting text takes the selection; the other programs' requests get the text as
// UTF8_STRING, text/plain;charset=utf-8 or STRING (Latin-1), TIMESTAMP the time the
// selection was taken, and TARGETS lists those; reading while another program
// holds the selection converts its text. The clipboard's Windows-1252 text with CR/LF
// line ends becomes Unicode with LF line ends at this edge, and back.
#pragma once

struct _XDisplay;
union _XEvent;

// Makes the clipboard follow the display's CLIPBOARD selection.
void X11ClipboardAttach(_XDisplay* display);
// Back to the process's own store; nothing when another display is attached.
void X11ClipboardDetach(_XDisplay* display);
// Answers the selection events of the clipboard's own window; false for all other events.
bool X11ClipboardHandleEvent(_XEvent& event);

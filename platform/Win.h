#pragma once
// The platform headers every part of the program builds on, in the order they need.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <ole2.h>
#include <olectl.h>
#include <oleauto.h>
#include <dshow.h>
#include <strmif.h>
#include <uuids.h>
#include <ks.h>
#include <ksmedia.h>
// The kernel streaming proxy declares IKsPin only for DirectShow filter code.
#ifndef __STREAMS__
#define __STREAMS__
#endif
#include <ksproxy.h>
#include <dvdmedia.h>
#include <mmreg.h>

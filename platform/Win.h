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
// ksproxy.h declares the proxy interfaces (IKsPin) only next to the DirectShow base
// classes, whose guard this is; the program uses the interfaces without the classes.
#ifndef __STREAMS__
#define __STREAMS__
#endif
#include <ksproxy.h>
#include <dvdmedia.h>
#include <mmreg.h>

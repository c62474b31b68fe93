// The system interfaces the program calls, in one include.
#pragma once

#include "platform/win32/types.h"
#include "platform/win32/messages.h"
#include "platform/win32/threads.h"
#include "platform/win32/timer.h"
#include "platform/win32/files.h"
#include "platform/win32/crt.h"

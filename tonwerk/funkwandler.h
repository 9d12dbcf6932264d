// Public entry point of the Tonwerk library.
#pragma once

#include "tonwerk/core/funkwandler.h"
#include "tonwerk/core/mitglieder.h"

#include "support/HubRecorder.h"

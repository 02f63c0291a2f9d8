#include "RecordingStore.h"

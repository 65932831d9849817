#include "demo/DemoApplication.h"

START_JUCE_APPLICATION (DemoApplication)

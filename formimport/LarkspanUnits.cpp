#include "formimport/LarkspanUnits.h"

TUnitStepsList LarkspanUnits() { return DataAwareControlUnits(); }

void RegisterLarkspanUnits(TUnitStartupList& list) { RegisterUnits(list, LarkspanUnits()); }

#include "platform/data/DataClasses.h"

#include "platform/components/TypeInfo.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"

void RegisterDataClasses() { RegisterClasses({&TDatabase::StaticClass(), &TQuery::StaticClass()}); }

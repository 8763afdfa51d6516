// Registration of the engine's component classes with the class registry, for form resources.
#pragma once

// Registers TDatabase and TQuery; programs and tests call it before reading a form resource that
// holds them. Registering twice does no harm.
void RegisterDataClasses();

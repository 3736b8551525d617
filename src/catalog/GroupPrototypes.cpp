#include "model/FieldList.h"

void BuildGroupPrototypes(std::vector<CGroupPrototype>& /*out*/) {}

// The job as Python sees it: the model of one plate, built in code or read from a job file.
#pragma once

#include "model/TObjCont.h"

namespace tavrin::python {

struct Job {
  TObjCont model;  // owned; what the Python object edits and saves
};

}  // namespace tavrin::python

#include "FWGroupControl.h"

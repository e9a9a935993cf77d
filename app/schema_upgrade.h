// Adds the columns of newer station database versions to an older database: the charge
// companies' two discount rates and the receipts' purchase price.
#pragma once

class Query;

// Runs the two checks on `qy` and `qy1`, each on its own: a check that fails (no such table,
// no permission, a lost connection) is ignored and the other still runs. Only discount_g is
// looked for before both discount columns are added.
void upgradeSchema(Query& qy, Query& qy1);

// The documents the check's and the language server's benchmarks run on:
// the built-in pair, and a generated route given 50 independent errors.
#pragma once

#include "bench/route_generator.h"

// The built-in documents as the form writes them.
RouteDocuments built_in_documents();

// The route with 25 speed boards whose value does not fit 16 bits (error 205)
// and 25 signals moved onto the cell of a speed board (error 16): each error
// stops its reader, and each is independent of the others.
RouteDocuments with_fifty_errors(RouteDocuments docs);

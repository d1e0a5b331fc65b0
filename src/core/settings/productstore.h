#pragma once

// core/settings: products, the till counter, ticket texts, passwords and users, as the administration edits
// them.

class DataModule;

// The reads of the configuration windows, each a statement of its own. Their writes go through the
// edited row of the dataset, stored with bound values.
namespace ProductStore {

// q_config lists the twenty products, named or not, in key order.
void listProducts(DataModule& dm);

// q_config lists the products that have a name, in key order: the sales screen's product list.
void listNamedProducts(DataModule& dm);

// q_cont holds the till counter's row.
void openCounter(DataModule& dm);

} // namespace ProductStore

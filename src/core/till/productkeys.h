#pragma once

#include <QString>

// The keys of the twenty products: each one sells its product on the sales screen and is the
// product's id; figures, labels and reports list the products in this order.
namespace ProductKeys {

inline constexpr int count = 20;

inline QString all() {
    return QStringLiteral("0123456789abcdefghij");
}

} // namespace ProductKeys

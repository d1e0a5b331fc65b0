#pragma once

// core/payments: Pix codes and their QR images, bank statements and the reconciliation of Pix sales
// against the credits of the festa's account. Uses core/base and core/db only.

#include "core/base/errors.h"

// A payment that cannot be made or checked as asked: a bad Pix key, an amount too long for the code,
// a statement that cannot be read. Its text is shown to the user as it stands.
class PaymentError : public AppError {
public:
    using AppError::AppError;
};

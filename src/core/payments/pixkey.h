#pragma once

#include <QString>

// The festa's Pix key as typed: what kind of key it is, the form it takes in the code, or why it is no
// key (one Portuguese sentence per fault).
struct PixKey {
    enum class Type { None, Cpf, Cnpj, Phone, Email, Random };

    Type type = Type::None;
    QString key;   // the form the code carries: digits, "+55…", lower-case e-mail or random key
    QString fault; // empty when the key is good

    bool isValid() const { return fault.isEmpty(); }

    // Reads a typed key: CPF and CNPJ with or without their dots, slash and dash (the CNPJ also in its
    // letters-and-digits form), a phone as +55 with area code, an e-mail, a random key.
    static PixKey check(const QString& typed);

    // The name of the kind in Portuguese ("CPF", "telefone", ...).
    static QString typeName(Type type);
};

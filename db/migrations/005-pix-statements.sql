-- Pix payments: the statements of the festa's Pix account imported for the treasurer, each file once
-- (by its hash), their credits, each once whatever file brought it (by the bank's id, else by moment,
-- amount, payer and place in the file), and the latest reconciliation of the Pix sales against them.
CREATE TABLE IF NOT EXISTS tbl_pix_extratos (
    id INTEGER PRIMARY KEY AUTOINCREMENT, hash TEXT NOT NULL UNIQUE, arquivo TEXT NOT NULL,
    formato TEXT NOT NULL, importado_em TEXT NOT NULL, creditos INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tbl_pix_creditos (
    id INTEGER PRIMARY KEY AUTOINCREMENT, extrato_id INTEGER NOT NULL REFERENCES tbl_pix_extratos (id),
    identidade TEXT NOT NULL UNIQUE, momento TEXT NOT NULL, com_hora INTEGER NOT NULL,
    valor_centavos INTEGER NOT NULL, fitid TEXT NOT NULL, pagador TEXT NOT NULL, memo TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS tbl_pix_conciliacao (
    id INTEGER PRIMARY KEY AUTOINCREMENT, conciliado_em TEXT NOT NULL, situacao TEXT NOT NULL,
    caixa TEXT NOT NULL, numero_caixa INTEGER NOT NULL, venda INTEGER NOT NULL, txid TEXT NOT NULL,
    valor_centavos INTEGER NOT NULL, venda_em TEXT NOT NULL,
    credito_id INTEGER REFERENCES tbl_pix_creditos (id));

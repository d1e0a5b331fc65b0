-- The tables the program kept beside the delivered ones before the schema had a version: the open
-- till, the tickets sold per key, each ticket's print job and the history of closed tills. Earlier
-- versions made them as they were first needed, so a file may hold some of them already.
CREATE TABLE IF NOT EXISTS tbl_caixa_atual (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    aberto INTEGER NOT NULL, numero INTEGER NOT NULL,
    responsavel TEXT NOT NULL, operador TEXT NOT NULL,
    data TEXT NOT NULL, hora TEXT NOT NULL, entrada TEXT NOT NULL,
    em_caixa TEXT NOT NULL, sangria TEXT NOT NULL, sangrias INTEGER NOT NULL,
    fichas_impressas INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS tbl_caixa_fichas (id TEXT PRIMARY KEY, fichas INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS tbl_fichas_trabalhos (
    seq INTEGER PRIMARY KEY AUTOINCREMENT, produto_id TEXT NOT NULL,
    produto TEXT NOT NULL, impresso TEXT NOT NULL, destino TEXT NOT NULL,
    trabalho INTEGER NOT NULL, estado TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS tbl_hist_caixas (
    id INTEGER PRIMARY KEY AUTOINCREMENT, numero INTEGER NOT NULL,
    responsavel TEXT NOT NULL, operador TEXT NOT NULL, fechado_por TEXT NOT NULL,
    abertura_data TEXT NOT NULL, abertura_hora TEXT NOT NULL, aberto_em TEXT,
    fechado_em TEXT NOT NULL, entrada_centavos INTEGER NOT NULL,
    vendas_centavos INTEGER NOT NULL, sangria_centavos INTEGER NOT NULL,
    sangrias INTEGER NOT NULL, esperado_centavos INTEGER NOT NULL,
    contado_centavos INTEGER);
CREATE TABLE IF NOT EXISTS tbl_hist_produtos (
    caixa_id INTEGER NOT NULL REFERENCES tbl_hist_caixas (id),
    id TEXT NOT NULL, produto TEXT NOT NULL, valor TEXT NOT NULL,
    unidades INTEGER NOT NULL, fichas INTEGER NOT NULL,
    total_centavos INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS ix_hist_produtos_caixa ON tbl_hist_produtos (caixa_id);
-- caixa_id stays empty while the till that sold is open, and its closing fills it.
CREATE TABLE IF NOT EXISTS tbl_hist_vendas (
    id INTEGER PRIMARY KEY AUTOINCREMENT, caixa_id INTEGER REFERENCES tbl_hist_caixas (id),
    numero INTEGER NOT NULL, momento TEXT NOT NULL,
    total_centavos INTEGER NOT NULL, fichas INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS ix_hist_vendas_caixa ON tbl_hist_vendas (caixa_id);

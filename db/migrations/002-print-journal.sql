-- Every document that goes to paper, stored before it prints: in doubt ('pendente') until the printer
-- took it ('impresso') or its print failed ('nao_impresso'); a report whose step was dropped after it
-- printed is 'anulado'. The step the document belongs to is kept with it (passo, JSON), so that a
-- restart completes or drops that step as the paper says.
CREATE TABLE IF NOT EXISTS tbl_impressoes (
    seq INTEGER PRIMARY KEY AUTOINCREMENT, documento TEXT NOT NULL UNIQUE,
    tipo TEXT NOT NULL, descricao TEXT NOT NULL, passo TEXT NOT NULL,
    rota TEXT NOT NULL, estado TEXT NOT NULL,
    destino TEXT NOT NULL DEFAULT '', trabalho INTEGER NOT NULL DEFAULT 0,
    momento TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS ix_impressoes_estado ON tbl_impressoes (estado);

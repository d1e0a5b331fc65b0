-- A festa of several cash desks: each desk keeps a journal of its till's steps, numbered without gaps,
-- which it reports to the festa's server, and the catalogue the server handed it.
-- The desk's id (made on its first start, never in the delivered file), the festa it reports to, where
-- its report starts (the snapshot it sent on joining), how far the server acknowledged, the catalogue
-- version it sells with and, when its reports were refused as a copy of another desk's file, why.
CREATE TABLE IF NOT EXISTS tbl_festa_caixa (
    id INTEGER PRIMARY KEY CHECK (id = 1), caixa_id TEXT NOT NULL,
    festa_id TEXT NOT NULL DEFAULT '', primeiro_seq INTEGER NOT NULL DEFAULT 0,
    confirmado INTEGER NOT NULL DEFAULT 0, catalogo INTEGER NOT NULL DEFAULT 0,
    parado TEXT NOT NULL DEFAULT '');
-- One row per step (opening, sale, withdrawal, closing, ticket reprint, catalogue, snapshot), written in
-- the step's own transaction: conteudo is its canonical JSON, hash the SHA-256 of desk, seq and conteudo.
CREATE TABLE IF NOT EXISTS tbl_festa_diario (
    seq INTEGER PRIMARY KEY, tipo TEXT NOT NULL, conteudo TEXT NOT NULL, hash TEXT NOT NULL);
-- Catalogue versions downloaded from the server, applied between two sales.
CREATE TABLE IF NOT EXISTS tbl_festa_catalogo (versao INTEGER PRIMARY KEY, conteudo TEXT NOT NULL);

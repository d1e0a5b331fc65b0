-- The delivered database. Declared types tell the data layer each column's kind and width:
-- VARCHAR(n) text of at most n characters, TEXT memo, INTEGER, DATE, TIME, BOOLEAN.
-- Each check carries the message the user sees when a value is refused.

CREATE TABLE tbl_produtos (
    id VARCHAR(255) CONSTRAINT "O campo 'id' de tbl_produtos aceita no máximo 255 caracteres." CHECK (length(id) <= 255),
    produto VARCHAR(25) CONSTRAINT "O campo 'produto' de tbl_produtos aceita no máximo 25 caracteres." CHECK (length(produto) <= 25),
    impresso VARCHAR(15) CONSTRAINT "O campo 'impresso' de tbl_produtos aceita no máximo 15 caracteres." CHECK (length(impresso) <= 15),
    valor VARCHAR(10) CONSTRAINT "O campo 'valor' de tbl_produtos aceita no máximo 10 caracteres." CHECK (length(valor) <= 10),
    quantidade INTEGER CONSTRAINT "O campo 'quantidade' de tbl_produtos aceita apenas números inteiros." CHECK (quantidade IS NULL OR typeof(quantidade) = 'integer'),
    bt BOOLEAN,
    id_relaciona VARCHAR(255) CONSTRAINT "O campo 'id_relaciona' de tbl_produtos aceita no máximo 255 caracteres." CHECK (length(id_relaciona) <= 255)
);

-- produto is 25 wide like the product's name, so every configured name sells.
CREATE TABLE tbl_vendas (
    id VARCHAR(255) CONSTRAINT "O campo 'id' de tbl_vendas aceita no máximo 255 caracteres." CHECK (length(id) <= 255),
    produto VARCHAR(25) CONSTRAINT "O campo 'produto' de tbl_vendas aceita no máximo 25 caracteres." CHECK (length(produto) <= 25),
    valor VARCHAR(25) CONSTRAINT "O campo 'valor' de tbl_vendas aceita no máximo 25 caracteres." CHECK (length(valor) <= 25),
    quantidade INTEGER CONSTRAINT "O campo 'quantidade' de tbl_vendas aceita apenas números inteiros." CHECK (quantidade IS NULL OR typeof(quantidade) = 'integer'),
    impresso VARCHAR(15) CONSTRAINT "O campo 'impresso' de tbl_vendas aceita no máximo 15 caracteres." CHECK (length(impresso) <= 15),
    id_relacionamento VARCHAR(255) CONSTRAINT "O campo 'id_relacionamento' de tbl_vendas aceita no máximo 255 caracteres." CHECK (length(id_relacionamento) <= 255)
);

CREATE TABLE tbl_cont_vendas (
    produto VARCHAR(25) CONSTRAINT "O campo 'produto' de tbl_cont_vendas aceita no máximo 25 caracteres." CHECK (length(produto) <= 25),
    valor VARCHAR(20) CONSTRAINT "O campo 'valor' de tbl_cont_vendas aceita no máximo 20 caracteres." CHECK (length(valor) <= 20),
    quantidade INTEGER CONSTRAINT "O campo 'quantidade' de tbl_cont_vendas aceita apenas números inteiros." CHECK (quantidade IS NULL OR typeof(quantidade) = 'integer'),
    impresso VARCHAR(15) CONSTRAINT "O campo 'impresso' de tbl_cont_vendas aceita no máximo 15 caracteres." CHECK (length(impresso) <= 15),
    id VARCHAR(255) CONSTRAINT "O campo 'id' de tbl_cont_vendas aceita no máximo 255 caracteres." CHECK (length(id) <= 255),
    id_relacionamento VARCHAR(255) CONSTRAINT "O campo 'id_relacionamento' de tbl_cont_vendas aceita no máximo 255 caracteres." CHECK (length(id_relacionamento) <= 255)
);
-- the recount of one key reads only that key's rows
CREATE INDEX ix_cont_vendas_id ON tbl_cont_vendas (id COLLATE NOCASE);

CREATE TABLE tbl_cont (
    cont INTEGER CONSTRAINT "O campo 'cont' de tbl_cont aceita apenas números inteiros." CHECK (cont IS NULL OR typeof(cont) = 'integer')
);

CREATE TABLE tbl_festa (
    cabecalho VARCHAR(30) CONSTRAINT "O campo 'cabecalho' de tbl_festa aceita no máximo 30 caracteres." CHECK (length(cabecalho) <= 30),
    rodape VARCHAR(30) CONSTRAINT "O campo 'rodape' de tbl_festa aceita no máximo 30 caracteres." CHECK (length(rodape) <= 30)
);

CREATE TABLE tbl_senhas (
    s_caixa VARCHAR(20) CONSTRAINT "O campo 's_caixa' de tbl_senhas aceita no máximo 20 caracteres." CHECK (length(s_caixa) <= 20),
    s_admin VARCHAR(20) CONSTRAINT "O campo 's_admin' de tbl_senhas aceita no máximo 20 caracteres." CHECK (length(s_admin) <= 20)
);

CREATE TABLE tbl_adm (
    usuario VARCHAR(20) CONSTRAINT "O campo 'usuario' de tbl_adm aceita no máximo 20 caracteres." CHECK (length(usuario) <= 20),
    senha VARCHAR(20) CONSTRAINT "O campo 'senha' de tbl_adm aceita no máximo 20 caracteres." CHECK (length(senha) <= 20)
);

CREATE TABLE tbl_base (
    id VARCHAR(55) CONSTRAINT "O campo 'id' de tbl_base aceita no máximo 55 caracteres." CHECK (length(id) <= 55),
    ultcaixa TEXT
);

CREATE TABLE tbl_caderneta (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nome VARCHAR(30) CONSTRAINT "O campo 'nome' de tbl_caderneta aceita no máximo 30 caracteres." CHECK (length(nome) <= 30)
);
CREATE UNIQUE INDEX ix_caderneta_nome ON tbl_caderneta (nome COLLATE NOCASE);

CREATE TABLE tbl_prod_caderneta (
    id_ligacao INTEGER CONSTRAINT "O campo 'id_ligacao' de tbl_prod_caderneta aceita apenas números inteiros." CHECK (id_ligacao IS NULL OR typeof(id_ligacao) = 'integer'),
    produto VARCHAR(25) CONSTRAINT "O campo 'produto' de tbl_prod_caderneta aceita no máximo 25 caracteres." CHECK (length(produto) <= 25),
    valor VARCHAR(20) CONSTRAINT "O campo 'valor' de tbl_prod_caderneta aceita no máximo 20 caracteres." CHECK (length(valor) <= 20),
    data DATE CONSTRAINT "O campo 'data' de tbl_prod_caderneta aceita apenas datas." CHECK (data IS NULL OR date(data) = data),
    hora TIME CONSTRAINT "O campo 'hora' de tbl_prod_caderneta aceita apenas horas." CHECK (hora IS NULL OR time(hora) = hora)
);
CREATE INDEX ix_prod_caderneta_ligacao ON tbl_prod_caderneta (id_ligacao);

-- The program's own tables (see db/migrations/001-till-history-and-print-jobs.sql, which adds them to
-- files made before they were part of the schema).
CREATE TABLE tbl_caixa_atual (
    id INTEGER PRIMARY KEY CHECK (id = 1),
    aberto INTEGER NOT NULL, numero INTEGER NOT NULL,
    responsavel TEXT NOT NULL, operador TEXT NOT NULL,
    data TEXT NOT NULL, hora TEXT NOT NULL, entrada TEXT NOT NULL,
    em_caixa TEXT NOT NULL, sangria TEXT NOT NULL, sangrias INTEGER NOT NULL,
    fichas_impressas INTEGER NOT NULL DEFAULT 0);
CREATE TABLE tbl_caixa_fichas (id TEXT PRIMARY KEY, fichas INTEGER NOT NULL);
CREATE TABLE tbl_fichas_trabalhos (
    seq INTEGER PRIMARY KEY AUTOINCREMENT, produto_id TEXT NOT NULL,
    produto TEXT NOT NULL, impresso TEXT NOT NULL, destino TEXT NOT NULL,
    trabalho INTEGER NOT NULL, estado TEXT NOT NULL);
-- Every document that goes to paper, stored before it prints (see migration 002).
CREATE TABLE tbl_impressoes (
    seq INTEGER PRIMARY KEY AUTOINCREMENT, documento TEXT NOT NULL UNIQUE,
    tipo TEXT NOT NULL, descricao TEXT NOT NULL, passo TEXT NOT NULL,
    rota TEXT NOT NULL, estado TEXT NOT NULL,
    destino TEXT NOT NULL DEFAULT '', trabalho INTEGER NOT NULL DEFAULT 0,
    momento TEXT NOT NULL);
CREATE INDEX ix_impressoes_estado ON tbl_impressoes (estado);
CREATE TABLE tbl_hist_caixas (
    id INTEGER PRIMARY KEY AUTOINCREMENT, numero INTEGER NOT NULL,
    responsavel TEXT NOT NULL, operador TEXT NOT NULL, fechado_por TEXT NOT NULL,
    abertura_data TEXT NOT NULL, abertura_hora TEXT NOT NULL, aberto_em TEXT,
    fechado_em TEXT NOT NULL, entrada_centavos INTEGER NOT NULL,
    vendas_centavos INTEGER NOT NULL, sangria_centavos INTEGER NOT NULL,
    sangrias INTEGER NOT NULL, esperado_centavos INTEGER NOT NULL,
    contado_centavos INTEGER);
CREATE TABLE tbl_hist_produtos (
    caixa_id INTEGER NOT NULL REFERENCES tbl_hist_caixas (id),
    id TEXT NOT NULL, produto TEXT NOT NULL, valor TEXT NOT NULL,
    unidades INTEGER NOT NULL, fichas INTEGER NOT NULL,
    total_centavos INTEGER NOT NULL);
CREATE INDEX ix_hist_produtos_caixa ON tbl_hist_produtos (caixa_id);
-- caixa_id stays empty while the till that sold is open, and its closing fills it.
CREATE TABLE tbl_hist_vendas (
    id INTEGER PRIMARY KEY AUTOINCREMENT, caixa_id INTEGER REFERENCES tbl_hist_caixas (id),
    numero INTEGER NOT NULL, momento TEXT NOT NULL,
    total_centavos INTEGER NOT NULL, fichas INTEGER NOT NULL);
CREATE INDEX ix_hist_vendas_caixa ON tbl_hist_vendas (caixa_id);
-- A festa of several desks (see migration 003): this desk's place in it, its journal of steps and the
-- catalogue versions it downloaded.
CREATE TABLE tbl_festa_caixa (
    id INTEGER PRIMARY KEY CHECK (id = 1), caixa_id TEXT NOT NULL,
    festa_id TEXT NOT NULL DEFAULT '', primeiro_seq INTEGER NOT NULL DEFAULT 0,
    confirmado INTEGER NOT NULL DEFAULT 0, catalogo INTEGER NOT NULL DEFAULT 0,
    parado TEXT NOT NULL DEFAULT '');
CREATE TABLE tbl_festa_diario (
    seq INTEGER PRIMARY KEY, tipo TEXT NOT NULL, conteudo TEXT NOT NULL, hash TEXT NOT NULL);
CREATE TABLE tbl_festa_catalogo (versao INTEGER PRIMARY KEY, conteudo TEXT NOT NULL);
-- Pix (see migration 005): the statements imported, their credits and the latest reconciliation.
CREATE TABLE tbl_pix_extratos (
    id INTEGER PRIMARY KEY AUTOINCREMENT, hash TEXT NOT NULL UNIQUE, arquivo TEXT NOT NULL,
    formato TEXT NOT NULL, importado_em TEXT NOT NULL, creditos INTEGER NOT NULL);
CREATE TABLE tbl_pix_creditos (
    id INTEGER PRIMARY KEY AUTOINCREMENT, extrato_id INTEGER NOT NULL REFERENCES tbl_pix_extratos (id),
    identidade TEXT NOT NULL UNIQUE, momento TEXT NOT NULL, com_hora INTEGER NOT NULL,
    valor_centavos INTEGER NOT NULL, fitid TEXT NOT NULL, pagador TEXT NOT NULL, memo TEXT NOT NULL);
CREATE TABLE tbl_pix_conciliacao (
    id INTEGER PRIMARY KEY AUTOINCREMENT, conciliado_em TEXT NOT NULL, situacao TEXT NOT NULL,
    caixa TEXT NOT NULL, numero_caixa INTEGER NOT NULL, venda INTEGER NOT NULL, txid TEXT NOT NULL,
    valor_centavos INTEGER NOT NULL, venda_em TEXT NOT NULL,
    credito_id INTEGER REFERENCES tbl_pix_creditos (id));

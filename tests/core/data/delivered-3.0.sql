-- The database file as version 3.0 delivered it: its schema and its rows, before any migration.
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

-- The twenty product keys: a few sample products, the rest unused (empty name).
INSERT INTO tbl_produtos (id, produto, impresso, valor, quantidade, bt, id_relaciona) VALUES
    ('0', 'ÁGUA', 'ÁGUA', '2,00', 1, 0, '10'),
    ('1', 'REFRIGERANTE', 'REFRI', '4,00', 1, 0, '11'),
    ('2', 'CERVEJA', 'CERVEJA', '6,00', 1, 0, '12'),
    ('3', 'PASTEL', 'PASTEL', '7,50', 1, 0, '13'),
    ('4', 'CACHORRO-QUENTE', 'CACHORRO', '8,00', 1, 0, '14'),
    ('5', 'PIPOCA', 'PIPOCA', '3,00', 1, 0, '15'),
    ('6', '', '', '0,00', 1, 0, '16'),
    ('7', '', '', '0,00', 1, 0, '17'),
    ('8', '', '', '0,00', 1, 0, '18'),
    ('9', '', '', '0,00', 1, 0, '19'),
    ('a', '', '', '0,00', 1, 0, '20'),
    ('b', '', '', '0,00', 1, 0, '21'),
    ('c', '', '', '0,00', 1, 0, '22'),
    ('d', '', '', '0,00', 1, 0, '23'),
    ('e', '', '', '0,00', 1, 0, '24'),
    ('f', '', '', '0,00', 1, 0, '25'),
    ('g', '', '', '0,00', 1, 0, '26'),
    ('h', '', '', '0,00', 1, 0, '27'),
    ('i', '', '', '0,00', 1, 0, '28'),
    ('j', '', '', '0,00', 1, 0, '29');

INSERT INTO tbl_cont (cont) VALUES (0);
INSERT INTO tbl_festa (cabecalho, rodape) VALUES ('FESTA DA COMUNIDADE', 'Obrigado e boa festa!');
INSERT INTO tbl_senhas (s_caixa, s_admin) VALUES ('574913', 'ADMIN');
INSERT INTO tbl_adm (usuario, senha) VALUES ('CAIXA', '1234');
INSERT INTO tbl_base (id, ultcaixa) VALUES ('1', '');

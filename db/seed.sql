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

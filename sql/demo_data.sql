/* Demo contents: the licensee and a few hundred contributors, candidates and parties, of this
   year (which the window lists first) and of two years ago. Run with isql-fb -ch UTF8 so the accented names arrive intact. */
SET TERM ^ ;

EXECUTE BLOCK AS
  DECLARE i INTEGER = 1;
  DECLARE ano INTEGER;
  DECLARE tipo VARCHAR(20);
  DECLARE nome VARCHAR(250);
  DECLARE cnpj VARCHAR(20);
BEGIN
  INSERT INTO GR_CAD_EMPRESA (COD_EMP, NOME_EMP)
    VALUES (1, 'PREFEITURA MUNICIPAL DE SÃO JOÃO DAS ÁGUAS');

  WHILE (i <= 360) DO
  BEGIN
    ano = EXTRACT(YEAR FROM CURRENT_DATE) - IIF(MOD(i, 3) = 0, 2, 0);
    cnpj = LPAD(CAST(30000000 + i * 7919 AS VARCHAR(8)), 8, '0') || '0001' ||
           LPAD(CAST(MOD(i * 37, 100) AS VARCHAR(2)), 2, '0');
    IF (MOD(i, 10) = 0) THEN
    BEGIN
      tipo = 'PARTIDO';
      nome = DECODE(MOD(i / 10, 6), 0, 'PARTIDO DA AÇÃO MUNICIPAL', 1, 'PARTIDO VERDE',
                    2, 'PARTIDO DA SOLIDARIEDADE', 3, 'PARTIDO DO TRABALHO',
                    4, 'PARTIDO DEMOCRÁTICO', 'PARTIDO DA REPÚBLICA');
    END
    ELSE
    BEGIN
      tipo = 'CANDIDATO';
      nome = DECODE(MOD(i, 12), 0, 'MARIA', 1, 'JOÃO', 2, 'ANTÔNIO', 3, 'FRANCISCA', 4, 'JOSÉ',
                    5, 'ANA', 6, 'LUÍS', 7, 'CONCEIÇÃO', 8, 'PAULO', 9, 'MÁRCIA', 10, 'SEBASTIÃO',
                    'HELENA') || ' ' ||
             DECODE(MOD(i * 7, 11), 0, 'DA SILVA', 1, 'DOS SANTOS', 2, 'OLIVEIRA', 3, 'SOUZA',
                    4, 'PEREIRA', 5, 'LIMA', 6, 'GONÇALVES', 7, 'ARAÚJO', 8, 'FERREIRA',
                    9, 'RODRIGUES', 'ALMEIDA');
    END
    INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM,
        NATJUR_CAM, CNAE_CAM, DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM)
      VALUES (:i, :tipo, :cnpj, :nome, :ano, NULL,
        IIF(:tipo = 'PARTIDO', '3220', '4090'), IIF(:tipo = 'PARTIDO', '9492800', '8411600'),
        DATEADD(MOD(:i * 13, 90) DAY TO CAST(:ano || '-07-15 10:00' AS TIMESTAMP)),
        'DEMO', CURRENT_TIMESTAMP);
    i = i + 1;
  END
END^

SET TERM ; ^
COMMIT;

/*
 * The two tables the program uses, with the indexes a real installation should have.
 * Run with isql-fb -i against an existing database created with
 * DEFAULT CHARACTER SET WIN1252; the text columns take that character set.
 */

CREATE TABLE GR_CAD_EMPRESA (
  COD_EMP INTEGER NOT NULL,
  NOME_EMP VARCHAR(100),
  CONSTRAINT PK_GR_CAD_EMPRESA PRIMARY KEY (COD_EMP)
);

/* The key is named so that a duplicate key error names it rather than a generated INTEG_nn. */
CREATE TABLE GR_CONTRIB_CAMPANHA (
  COD_CAM INTEGER NOT NULL,
  TIPO_CAM VARCHAR(20),
  CNPJ_CAM VARCHAR(20),
  NOME_CAM VARCHAR(250),
  ANO_CAM INTEGER,
  COD_TOM_CAM INTEGER,
  NATJUR_CAM VARCHAR(6),
  CNAE_CAM VARCHAR(10),
  DATACNPJ_CAM TIMESTAMP,
  LOGIN_INC_CAM VARCHAR(30),
  DTA_INC_CAM TIMESTAMP,
  LOGIN_ALT_CAM VARCHAR(30),
  DTA_ALT_CAM TIMESTAMP,
  CONSTRAINT PK_GR_CONTRIB_CAMPANHA PRIMARY KEY (COD_CAM)
);

/* The import looks every line's CNPJ up; without this each look-up reads the whole table,
   which holds hundreds of thousands of rows. */
CREATE INDEX IDX_CONTRIB_CAMPANHA_CNPJ ON GR_CONTRIB_CAMPANHA (CNPJ_CAM);

/* The import asks MAX(COD_CAM)+1 for every new row; Firebird answers MAX from an index
   only when it is descending (the primary key's index is ascending). */
CREATE DESCENDING INDEX IDX_CONTRIB_CAMPANHA_COD_DESC ON GR_CONTRIB_CAMPANHA (COD_CAM);

/* The program works as QEBVOQ whenever that account can log in, also on a database that
   another account owns. */
GRANT ALL ON GR_CAD_EMPRESA TO USER QEBVOQ;
GRANT ALL ON GR_CONTRIB_CAMPANHA TO USER QEBVOQ;

COMMIT;
